#include "app/InstanceHandover.h"
#include "app/SingleInstance.h"
#include "tests/app/WindowFixture.h"

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace zanto::test {
namespace {

// A window that remembers `folder` and holds one text file in `other`.
class StartPath : public WindowFixture {
protected:
    void startAt(const QString& mode, const QString& startPath)
    {
        other.write("x.txt");
        start(mode, QStringLiteral("*.txt"), startPath);
    }
    std::string shown() const { return find<FolderListBox>("Dir")->path(); }
    static QString q(const std::string& path) { return QString::fromStdString(path); }

    TempFolder other;
};

struct PathCase {
    const char* family;
    const char* mode;
    const char* name; // in the other folder; empty: the folder itself
    bool opened;
};

class StartPathCase : public StartPath, public ::testing::WithParamInterface<PathCase> {};

TEST_P(StartPathCase, OpensTheFolderSelectsTheFileOrSaysSo)
{
    const PathCase& row = GetParam();
    const QString path = q(*row.name ? other.pathOf(row.name) : other.path());
    startAt(QString::fromLatin1(row.mode), path);
    EXPECT_EQ(shown(), row.opened ? other.path() : folder.path());
    EXPECT_EQ(messenger.texts(), row.opened ? QStringList() : QStringList{"「" + path + "」を開けませんでした。"});
    // The file is selected in the list the mode shows.
    EXPECT_EQ(find<ListBox>(*row.mode == '0' ? "File" : "List")->selectedName(), row.opened ? row.name : "");
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartPathCase,
                         ::testing::Values(PathCase{"folder", "1", "", true}, PathCase{"file_simple", "0", "x.txt", true},
                                           PathCase{"file_continuous", "1", "x.txt", true},
                                           PathCase{"missing", "1", "gone.txt", false}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST(SingleInstance, ALockThatCannotBeMadeMovesToTheTemporaryFolder)
{
    QTemporaryDir temp;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString unusable = temp.filePath(QStringLiteral("missing/TOLVA.lock"));
    SingleInstance first(unusable);
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(first.socketPath().startsWith(temp.filePath(QStringLiteral("TOLVA-"))));
    EXPECT_FALSE(SingleInstance(unusable).acquire());
    previous.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", previous);
}

// This process stands in for the running copy; a real copy killed before it
// leaves a stale lock and socket, and real later starts hand their folders over.
TEST_F(StartPath, LaterStartsHandTheirFolderOverWaitingForAModalBoxAndPrintTheVersion)
{
    QTemporaryDir home;
    // Inherited by the copies started below.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    const QString program = QStringLiteral(ZANTO_PROGRAM);
    QProcess killed;
    killed.start(program, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(home.filePath(QStringLiteral("TOLVA.socket"))); }, 10000));
    killed.kill();
    killed.waitForFinished();

    SingleInstance instance(home.filePath(QStringLiteral("TOLVA.lock")));
    ASSERT_TRUE(instance.acquire());
    InstanceHandover handover(instance.socketPath());
    ASSERT_TRUE(handover.listen());
    startAt(QStringLiteral("1"), {});
    QObject::connect(&handover, &InstanceHandover::requested, window.get(), &Tolva::openRequested);

    EXPECT_EQ(QProcess::execute(program, {q(other.path())}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == other.path(); }, 10000));
    QDialog modal(window.get());
    modal.open();
    EXPECT_EQ(QProcess::execute(program, {q(folder.path())}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handover.holding(); }, 10000)) << "held while the box is open";
    EXPECT_EQ(shown(), other.path());
    modal.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == folder.path(); }, 10000));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("config/TOLVA/TOLVA.ini"))));

    // Over ssh or in a script: no display, no runtime folder. Both used to
    // abort for want of a display.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        bare.remove(QString::fromLatin1(name));
    for (const auto& [option, printed] : {std::pair{"--version", "ZANTO " ZANTO_VERSION "\n"}, {"--help", "Usage: "}}) {
        QProcess text;
        text.setProcessEnvironment(bare);
        text.start(program, {QString::fromLatin1(option)});
        ASSERT_TRUE(text.waitForFinished(10000));
        EXPECT_EQ(text.exitCode(), 0) << option;
        EXPECT_TRUE(text.readAllStandardOutput().startsWith(printed)) << option;
        EXPECT_EQ(text.readAllStandardError(), QByteArray()) << option;
    }
}

} // namespace
} // namespace zanto::test
