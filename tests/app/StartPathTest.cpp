#include "app/InstanceHandover.h"
#include "app/ProgramValues.h"
#include "app/SettingsKeys.h"
#include "app/SingleInstance.h"
#include "app/Tolva.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "tests/support/LoggingOpener.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ScriptedMessenger.h"
#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace zanto::test {
namespace {

// A window that remembers `remembered` and holds one text file in `other`.
class StartPath : public ::testing::Test {
protected:
    void start(const QString& mode, const QString& startPath)
    {
        other.write("x.txt");
        store.preset(settings::kMode, mode);
        store.preset(settings::kPatterns, QStringLiteral("*.txt"));
        store.preset(settings::kFolder, q(remembered.path()));
        window = std::make_unique<Tolva>(values, TolvaServices{store, messenger, fileSystem, opener, [] {}});
        window->Form_Load(startPath);
    }
    std::string shown() const { return window->findChild<FolderListBox*>(QStringLiteral("Dir"))->path(); }
    static QString q(const std::string& path) { return QString::fromStdString(path); }

    TempFolder remembered, other;
    MemoryStore store;
    ScriptedMessenger messenger;
    NativeFileSystem fileSystem;
    LoggingOpener opener;
    ProgramValues values;
    std::unique_ptr<Tolva> window;
};

struct PathCase {
    const char* family;
    const char* mode;
    const char* name; // in the other folder; empty: the folder itself
    bool opened;
    const char* selectedIn; // the list showing the file, or empty
};

class StartPathCase : public StartPath, public ::testing::WithParamInterface<PathCase> {};

TEST_P(StartPathCase, OpensTheFolderSelectsTheFileOrSaysSo)
{
    const PathCase& row = GetParam();
    const QString path = q(*row.name ? other.pathOf(row.name) : other.path());
    start(QString::fromLatin1(row.mode), path);
    EXPECT_EQ(shown(), row.opened ? other.path() : remembered.path());
    EXPECT_EQ(messenger.texts(), row.opened ? QStringList() : QStringList{"「" + path + "」を開けませんでした。"});
    if (*row.selectedIn) {
        EXPECT_EQ(window->findChild<ListBox*>(QString::fromLatin1(row.selectedIn))->selectedName(), row.name);
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartPathCase,
                         ::testing::Values(PathCase{"folder", "1", "", true, ""},
                                           PathCase{"file_simple", "0", "x.txt", true, "File"},
                                           PathCase{"file_continuous", "1", "x.txt", true, "List"},
                                           PathCase{"missing", "1", "gone.txt", false, ""}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST(CommandLine, VersionPrintsTheOneVersionNumber)
{
    QProcess program;
    program.start(QStringLiteral(ZANTO_PROGRAM), {QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.readAllStandardOutput(), QByteArray("ZANTO " ZANTO_VERSION "\n"));
}

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
TEST_F(StartPath, LaterStartsHandTheirFolderOverWaitingForAModalBox)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    const QString socket = home.filePath(QStringLiteral("TOLVA.socket"));
    const auto run = [&environment](QProcess& program, const QStringList& arguments) {
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZANTO_PROGRAM), arguments);
    };
    QProcess killed;
    run(killed, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 10000));
    killed.kill();
    killed.waitForFinished();

    SingleInstance instance(home.filePath(QStringLiteral("TOLVA.lock")));
    ASSERT_TRUE(instance.acquire());
    InstanceHandover handover(instance.socketPath());
    ASSERT_TRUE(handover.listen());
    start(QStringLiteral("1"), {});
    QObject::connect(&handover, &InstanceHandover::requested, window.get(), &Tolva::openRequested);

    QProcess second;
    run(second, {q(other.path())});
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == other.path(); }, 10000));
    EXPECT_EQ(second.exitCode(), 0);

    QDialog modal(window.get());
    modal.open();
    QProcess third;
    run(third, {q(remembered.path())});
    ASSERT_TRUE(third.waitForFinished(10000));
    QTest::qWait(200);
    EXPECT_EQ(shown(), other.path());
    modal.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == remembered.path(); }, 10000));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("config/TOLVA/TOLVA.ini"))));
}

} // namespace
} // namespace zanto::test
