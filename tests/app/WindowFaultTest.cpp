#include "WindowFixture.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"

// The window over a file system that fails on demand: what the window adds
// to the core's outcome is the message, the list and the base name.

namespace zanto::test {
namespace {

class WindowFault : public WindowFixture {
protected:
    WindowFault() { windowFileSystem = &faulty; }

    FaultyFileSystem faulty;
    Contents before;
};

// A stop in either pass: the message, every file as it was, the list kept,
// the base name kept for another try, the cursor back.
TEST_F(WindowFault, AStopInEitherPassIsToldAndLeavesEverythingAsItWas)
{
    for (const std::size_t failing : {1, 4}) {
        folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "other.txt"});
        before = folder.contents();
        start(QStringLiteral("1"), QStringLiteral("*.jpg"));
        messenger.clear();
        faulty = FaultyFileSystem();
        faulty.failRename(failing, FsError::DiskNotReady);
        runBatch(QStringLiteral("旅行"));
        ASSERT_EQ(messenger.shown().size(), 2);
        EXPECT_EQ(messenger.texts()[1], QStringLiteral("エラーが発生しました.\r\n\r\nファイル名変換を中止します"));
        EXPECT_EQ(folder.contents(), before);
        EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
        EXPECT_EQ(base().text(), QStringLiteral("旅行"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// The single rename: each outcome has its message; only a missing file and
// refused access move the selection on.
TEST_F(WindowFault, EachSingleOutcomeIsToldAndKeepsTheFile)
{
    const struct {
        FsError error;
        const char* message;
        bool movesOn;
    } rows[] = {
        {FsError::FileNotFound, "フォルダーが存在しないので処理できませんでした。", true},
        {FsError::PathFileAccess, "エラーによって処理できませんでした。", true},
        {FsError::FileExists, "既に同じ名前が存在しています。", false},
        {FsError::Other, "名前を変更できませんでした。", false},
    };
    folder.writeAll({"a.txt", "b.txt", "c.txt"});
    before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    for (const auto& row : rows) {
        file().setListIndex(0);
        messenger.clear();
        faulty = FaultyFileSystem();
        faulty.failRename(1, row.error);
        text().setText(QStringLiteral("new"));
        press("cmd");
        EXPECT_EQ(messenger.texts(), QStringList{QString::fromUtf8(row.message)});
        EXPECT_EQ(folder.contents(), before);
        // "new" sorts after a and b.txt: RIMU selects position 0 again.
        EXPECT_EQ(file().selectedName(), "a.txt");
        EXPECT_EQ(text().text(), row.movesOn ? QStringLiteral("a") : QStringLiteral("new")) << row.message;
    }
}

TEST_F(WindowFault, ACaseOnlyRenameGoesThroughWhereCaseIsIgnored)
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
