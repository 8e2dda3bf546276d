#include "WindowFixture.h"

#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>


#include <filesystem>

namespace zanto::test {
namespace {

using StartUp = WindowFixture;

struct ModeCase {
    const char* family;
    const char* stored;
    bool simple;
};

class StoredMode : public WindowFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StoredMode, ChoosesTheLayoutAndCaption)
{
    start(QString::fromUtf8(GetParam().stored));
    const bool simple = GetParam().simple;
    EXPECT_EQ(window->windowTitle(), simple ? QStringLiteral("ZANTO＿[単純モード]") : QStringLiteral("ZANTO＿[連続モード]"));
    EXPECT_EQ(values.NOW_MODE, simple ? QStringLiteral("0") : QStringLiteral("1"));
    EXPECT_EQ(file().isVisible(), simple);
    EXPECT_EQ(list().isVisible(), !simple);
}

INSTANTIATE_TEST_SUITE_P(Modes, StoredMode,
                         ::testing::Values(ModeCase{"simple", "0", true}, ModeCase{"empty", "", false},
                                           ModeCase{"other", "2", false}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(StartUp, MinimizingShowsTheTitleAlone)
{
    start(QStringLiteral("0"));
    window->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("ZANTO"));
    window->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("ZANTO＿[単純モード]"));
}

TEST_F(StartUp, RestoresTheRememberedFolderAndStoresItWhenClosing)
{
    folder.writeAll({"a.jpg", "b.txt", "c.png"});
    start(QStringLiteral("1"));
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), folder.path());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.txt"}));
    store.writes.clear();
    window->close();
    EXPECT_EQ(store.writes, QStringList{QStringLiteral("KALDEN=") + QString::fromStdString(folder.path())});
}

TEST_F(StartUp, AGoneFolderFallsBackToTheStartingFolderSilently)
{
    store.preset(settings::kFolder, QString::fromStdString(folder.pathOf("gone")));
    store.preset(settings::kMode, QStringLiteral("1"));
    store.preset(settings::kPatterns, QStringLiteral("*.jpg"));
    startWithStore();
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), std::filesystem::current_path().string());
    EXPECT_TRUE(messenger.shown().isEmpty());
}

using Folders = WindowFixture;

TEST_F(Folders, AFolderChangeResetsThePanelAndRefillsTheRenameList)
{
    folder.writeAll({"IMG_10.jpg", "IMG_9.jpg", "x.png"});
    const std::string sub = folder.makeSubfolder("sub");
    start(QStringLiteral("0"));
    file().setListIndex(0);
    ASSERT_FALSE(text().text().isEmpty());
    std::filesystem::copy_file(folder.pathOf("IMG_9.jpg"), sub + "/p2.jpg");
    std::filesystem::copy_file(folder.pathOf("IMG_9.jpg"), sub + "/p10.jpg");

    ASSERT_EQ(find<FolderListBox>("Dir")->setPath(sub), FsError::None);
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_FALSE(text().isEnabled());
    EXPECT_TRUE(label("Label1").isEmpty());
    EXPECT_TRUE(label("Label2").isEmpty());
    EXPECT_FALSE(find<QLabel>("Label5")->isVisible());
    EXPECT_EQ(file().listIndex(), -1);
    EXPECT_EQ(file().items(), (std::vector<std::string>{"p2.jpg", "p10.jpg"}));
    EXPECT_EQ(list().items(), file().items());
}

TEST_F(Folders, AFolderThatCannotBeOpenedChangesNothing)
{
    folder.writeAll({"a.jpg", "plain.txt"});
    start(QStringLiteral("1"));
    EXPECT_EQ(find<FolderListBox>("Dir")->setPath(folder.pathOf("plain.txt")), FsError::PathNotFound);
    EXPECT_EQ(find<FolderListBox>("Dir")->setPath(folder.pathOf("gone")), FsError::PathNotFound);
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), folder.path());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "plain.txt"}));
    EXPECT_FALSE(stopped);
}

using Keys = WindowFixture;

TEST_F(Keys, ArrowKeysStepThroughTheFilesInSimpleModeWithWrap)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("0"));
    file().setFocus();
    QTest::keyClick(&file(), Qt::Key_Down);
    EXPECT_EQ(file().listIndex(), 0) << "nothing selected: Down selects the first";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(file().listIndex(), 2) << "Up on the first wraps to the last";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(file().listIndex(), 0) << "Down on the last wraps to the first";
    EXPECT_EQ(text().text(), QStringLiteral("a"));
    EXPECT_EQ(label("Label1"), QStringLiteral(" a"));
}

TEST_F(Keys, EnterPressesTheModesDefaultButton)
{
    folder.writeAll({"a.jpg"});
    start(QStringLiteral("1"));
    base().setFocus();
    messenger.answer(MsgAnswer::Cancel);
    QTest::keyClick(&base(), Qt::Key_Return);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown().first().title, QStringLiteral("ファイル名変更"));

    window->TANJUN();
    file().setListIndex(0);
    text().setText(QStringLiteral("b"));
    QTest::keyClick(&text(), Qt::Key_Return);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.jpg"}));
}

TEST(SingleInstance, ASecondCopyIsRefusedAndACrashedOnesLockTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TOLVA.lock"));
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.acquire());
        SingleInstance second(path);
        EXPECT_FALSE(second.acquire());
    }
    // A lock left by a process that no longer runs.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nwindow_tests\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance next(path);
    EXPECT_TRUE(next.acquire());
}

TEST(SingleInstance, TheSecondProgramEndsAtOnceAndStoresNothing)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QDir().mkpath(home.filePath(QStringLiteral("config/TOLVA")));
    QFile ini(home.filePath(QStringLiteral("config/TOLVA/TOLVA.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\n");
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
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();

    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), QByteArray("[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\n"));
}

} // namespace
} // namespace zanto::test
