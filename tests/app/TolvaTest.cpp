#include "WindowFixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>

namespace zanto::test {
namespace {

using StartUp = WindowFixture;

// Every stored mode but "0" starts in continuous mode.
TEST_F(StartUp, TheStoredModeChoosesTheLayoutAndCaption)
{
    for (const char* stored : {"0", "", "2"}) {
        start(QString::fromLatin1(stored));
        const bool simple = QString::fromLatin1(stored) == u"0";
        EXPECT_EQ(window->windowTitle(), simple ? QStringLiteral("ZANTO＿[単純モード]") : QStringLiteral("ZANTO＿[連続モード]"));
        EXPECT_EQ(file().isVisible(), simple) << stored;
        EXPECT_EQ(list().isVisible(), !simple) << stored;
    }
}

// A folder change clears the simple-mode panel and the preview, selects no
// file and refills the rename list.
TEST_F(StartUp, AFolderChangeResetsThePanelAndRefillsTheRenameList)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    const std::string sub = folder.makeSubfolder("sub");
    std::filesystem::copy_file(folder.pathOf("a.jpg"), sub + "/p2.jpg");
    start(QStringLiteral("0"));
    file().setListIndex(0);
    ASSERT_FALSE(text().text().isEmpty());

    ASSERT_EQ(find<FolderListBox>("Dir")->setPath(sub), FsError::None);
    EXPECT_TRUE(text().text().isEmpty() && !text().isEnabled() && label("Label1").isEmpty() && label("Label2").isEmpty());
    EXPECT_FALSE(find<QLabel>("Label5")->isVisible());
    EXPECT_EQ(file().listIndex(), -1);
    EXPECT_EQ(list().items(), (std::vector<std::string>{"p2.jpg"}));
}

// The real program, twice over one store: the second ends at once, and
// neither overwrites the hand-written file.
TEST(SingleInstance, TheSecondProgramEndsAtOnceAndStoresNothing)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QDir().mkpath(home.filePath(QStringLiteral("config/TOLVA")));
    QFile ini(home.filePath(QStringLiteral("config/TOLVA/TOLVA.ini")));
    const QByteArray written("[TOLVA_DATA]\nMODE=1\nVORIS=*.png;*.jpg\n");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(written);
    ini.close();

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(ZANTO_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath(QStringLiteral("TOLVA.lock"))), 10000);
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(ZANTO_PROGRAM), {});
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), written);
}

} // namespace
} // namespace zanto::test
