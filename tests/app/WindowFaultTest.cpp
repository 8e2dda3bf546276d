#include "WindowFixture.h"

#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"



#include <filesystem>

// The window over a file system that fails on demand: every failure ends with
// the exact message, and no file loses its name or its content.

namespace zanto::test {
namespace {

using Call = FaultyFileSystem::Call;

const QString kConfirm = QStringLiteral("「旅行＋連番＋拡張子」に変換します.\r\n\r\n実行してもいいですか？");
const QString kStop = QStringLiteral("エラーが発生しました.\r\n\r\nファイル名変換を中止します");

QString notRenamed(const std::string& name)
{
    return QStringLiteral("1個のファイルは新しい名前に変換できませんでした.\r\n\r\n「%1」").arg(QString::fromStdString(name));
}

class WindowFault : public WindowFixture {
protected:
    WindowFault() { windowFileSystem = &faulty; }

    // Three listed pictures and a text file the filter leaves out, in continuous mode.
    void startBatch()
    {
        folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "other.txt"});
        before = folder.contents();
        start(QStringLiteral("1"), QStringLiteral("*.jpg"));
        ASSERT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    }

    // The temporary name the run gave the entry at `position`.
    std::string temporaryOf(int position) const { return find<ListBox>("List2")->item(position); }

    FaultyFileSystem faulty;
    Contents before;
};

// Errors that would strike every file alike stop the run and give every file
// its name back; which error numbers stop is the core's business, the window
// only tells the stop, in either pass.
struct StopCase {
    const char* family;
    std::size_t failingRename; // 1-3 first pass, 4-6 second pass
    FsError error;
    const char* caption; // the last progress caption
};

class BatchStop : public WindowFault, public ::testing::WithParamInterface<StopCase> {};

TEST_P(BatchStop, TellsTheStopAndLeavesEveryFileAsItWas)
{
    startBatch();
    faulty.failRename(GetParam().failingRename, GetParam().error);
    runBatch(QStringLiteral("旅行"));

    ASSERT_EQ(messenger.texts(), (QStringList{kConfirm, kStop}));
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"})) << "the list is not rebuilt";
    EXPECT_EQ(base().text(), QStringLiteral("旅行")) << "the base name stays for another try";
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BatchStop,
    ::testing::Values(StopCase{"first_pass", 1, FsError::DeviceUnavailable, "ファイルチェック中--残り0個"},
                      StopCase{"second_pass", 4, FsError::DiskNotReady, "ファイル読み取り中2個"}),
    [](const auto& info) { return std::string(info.param.family); });

// A file gone or a name taken concerns that file alone: the others get their
// names, the list shows the folder, the base name is emptied.
using OtherProgram = WindowFault;

TEST_F(OtherProgram, AFileDeletedAfterTheCheckIsNamedAndTheRestRenamed)
{
    startBatch();
    faulty.before(Call::Rename, 1, [this] { std::filesystem::remove(folder.pathOf("b.jpg")); });
    runBatch(QStringLiteral("旅行"));

    ASSERT_EQ(messenger.texts(), (QStringList{kConfirm, notRenamed("b.jpg")}));
    Contents expected = movedContents(before, {{"a.jpg", "旅行1.jpg"}, {"c.jpg", "旅行3.jpg"}});
    expected.erase("b.jpg");
    EXPECT_EQ(folder.contents(), expected);
    EXPECT_EQ(listed(), (std::vector<std::string>{"旅行1.jpg", "旅行3.jpg"}));
    EXPECT_TRUE(base().text().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
}

TEST_F(OtherProgram, AnOldNameTakenDuringTheWayBackIsReported)
{
    startBatch();
    // b.jpg cannot move: the run stops; before a.jpg goes back another program takes its name.
    faulty.failRename(2, FsError::PathFileAccess);
    faulty.before(Call::Rename, 3, [this] { folder.write("a.jpg", "newcomer"); });
    runBatch(QStringLiteral("旅行"));

    ASSERT_EQ(messenger.shown().size(), 3);
    EXPECT_EQ(messenger.shown()[1].text, kStop);
    EXPECT_EQ(messenger.shown()[2].text,
              QStringLiteral("1個のファイルを元の名前に戻せませんでした.\r\n\r\n「%1」")
                  .arg(QString::fromStdString(temporaryOf(0))));
    Contents expected = movedContents(before, {{"a.jpg", temporaryOf(0)}});
    expected["a.jpg"] = "newcomer";
    EXPECT_EQ(folder.contents(), expected);
}

// The single rename: each outcome has its message (the core maps the error
// numbers to outcomes); only a missing file and refused access move the
// selection on.
struct SingleCase {
    const char* family;
    FsError error;
    const char* message;
    bool movesOn;
};

class SingleFault : public WindowFault, public ::testing::WithParamInterface<SingleCase> {};

TEST_P(SingleFault, TellsTheOutcomeAndKeepsTheFile)
{
    folder.writeAll({"a.txt", "b.txt", "c.txt"});
    before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    file().setListIndex(0);
    ASSERT_TRUE(messenger.shown().isEmpty());
    faulty.failRename(1, GetParam().error);
    text().setText(QStringLiteral("new"));
    press("cmd");

    ASSERT_EQ(messenger.texts(), QStringList{QString::fromUtf8(GetParam().message)});
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(file().items(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    // "new" sorts after a and b.txt: RIMU selects position 0 again.
    EXPECT_EQ(file().selectedName(), "a.txt");
    EXPECT_EQ(text().text(), GetParam().movesOn ? QStringLiteral("a") : QStringLiteral("new"));
    EXPECT_TRUE(text().isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SingleFault,
    ::testing::Values(
        SingleCase{"file_not_found", FsError::FileNotFound, "フォルダーが存在しないので処理できませんでした。", true},
        SingleCase{"path_file_access", FsError::PathFileAccess, "エラーによって処理できませんでした。", true},
        SingleCase{"file_exists", FsError::FileExists, "既に同じ名前が存在しています。", false},
        SingleCase{"other_full_disk", FsError::Other, "名前を変更できませんでした。", false}),
    [](const auto& info) { return std::string(info.param.family); });

using CaseInsensitive = WindowFault;

TEST_F(CaseInsensitive, ACaseOnlyRenameGoesThrough)
{
    faulty.setCaseInsensitive(true);
    folder.writeAll({"photo.txt", "sun.txt"});
    before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    file().setListIndex(0);
    text().setText(QStringLiteral("Photo"));
    press("cmd");
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_EQ(folder.contents(), movedContents(before, {{"photo.txt", "Photo.txt"}}));
}

} // namespace
} // namespace zanto::test
