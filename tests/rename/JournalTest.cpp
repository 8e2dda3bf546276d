#include "rename/BatchJournal.h"
#include "rename/NameRules.h"
#include "rename/Recovery.h"
#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"
#include "ui/StateFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

// The journal of a batch: its bytes, the record it leaves, recovery and undo
// from whatever the disk holds, and the paths that used to lose a name.

namespace zanto::test {
namespace {

class JournalTest : public ::testing::Test {
protected:
    // A swap (1 <-> 2) and a plain entry, planned and journaled.
    BatchPlan begin()
    {
        folder.writeAll({"1.jpg", "2.jpg", "a b%.png", "outside.txt"});
        before = folder.contents();
        BatchPlan plan = planBatch(folder.path(), {"2.jpg", "1.jpg", "a b%.png"}, "", fs, fixedRandom({kDraw17}));
        EXPECT_TRUE(journal.begin(plan));
        return plan;
    }
    Journal pending()
    {
        Journal found;
        EXPECT_EQ(journal.pending(found), BatchJournal::Pending::Unfinished);
        return found;
    }

    TempFolder folder;
    TempFolder stateHome;
    FaultyFileSystem fs;
    StateFolder files{stateHome.path() + "/TOLVA"};
    BatchJournal journal{files, fs};
    Contents before;
};

TEST_F(JournalTest, AnyNameSurvivesTheRoundTripAndADamagedJournalIsRefused)
{
    BatchPlan plan;
    plan.folder = "/tmp/f\xff old %20";
    plan.folderStamp = FileStamp{1, 2, 0, 0, false};
    plan.prefix = "連番17変換失敗";
    plan.items = {{std::string("a\0\n\r\x7f\xe9", 6), "連番17変換失敗0", "1"}, {" ", "%", "\x81\x40.txt"}};
    plan.stamps = {FileStamp{3, 4, 5, -6, false}, FileStamp{}};
    const std::string bytes = encodeJournal(plan);
    const auto back = decodeJournal(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(encodeJournal(*back), bytes);
    EXPECT_EQ(back->items[0].original, plan.items[0].original);

    std::string flipped = bytes;
    flipped[bytes.find("連番")] ^= 1;
    for (const std::string& damaged : {bytes.substr(0, bytes.size() - 1), bytes.substr(0, bytes.size() / 2), flipped,
                                       bytes + "x", std::string("[journal]\nfolder=/tmp\n"), std::string()})
        EXPECT_FALSE(decodeJournal(damaged)) << damaged;

    ASSERT_TRUE(files.write("journal", bytes.substr(0, 40)));
    Journal found;
    EXPECT_EQ(journal.pending(found), BatchJournal::Pending::Damaged);
    journal.setAside();
    EXPECT_EQ(journal.pending(found), BatchJournal::Pending::None) << "told once";
}

TEST_F(JournalTest, ARunEndsAsTheRecordOrLeavesNothingOrStaysForTheNextStart)
{
    BatchPlan plan = begin();
    fs.failRename(2, FsError::DiskNotReady); // stopped and rolled back: nothing moved
    journal.end(plan, applyBatch(plan, fs));
    EXPECT_FALSE(journal.hasRecord());

    journal.begin(plan);
    BatchReport done = applyBatch(plan, fs);
    journal.end(plan, done);
    Journal none;
    EXPECT_EQ(journal.pending(none), BatchJournal::Pending::None);
    ASSERT_TRUE(journal.lastRecord());
    EXPECT_EQ(journal.lastRecord()->items.size(), 3u);

    done.stop(FsError::Other, 0); // a stop that left files on their way
    journal.begin(plan);
    journal.end(plan, done);
    EXPECT_EQ(pending().items[2].original, "a b%.png");
}

// Killed in the second pass; meanwhile another program took a name the run needs.
TEST_F(JournalTest, RecoveryMovesOnlyTheRunsOwnFilesEitherWay)
{
    const BatchPlan plan = begin();
    for (const auto& item : plan.items)
        std::filesystem::rename(folder.pathOf(item.original), folder.pathOf(item.temporary));
    std::filesystem::rename(folder.pathOf(plan.items[0].temporary), folder.pathOf("1.jpg")); // 2.jpg -> 1.jpg
    folder.write("2.jpg", "intruder");
    const Journal found = pending();

    const std::string& temporary0 = plan.items[0].temporary;
    EXPECT_EQ(recoverBatch(found, RecoveryDirection::Back, fs), std::vector<std::string>{temporary0});
    Contents expected = movedContents(before, {{"2.jpg", temporary0}});
    expected["2.jpg"] = "intruder";
    EXPECT_EQ(folder.contents(), expected);

    const std::string& temporary1 = plan.items[1].temporary;
    EXPECT_EQ(recoverBatch(found, RecoveryDirection::Forward, fs), std::vector<std::string>{temporary1});
    expected = movedContents(before, {{"2.jpg", "1.jpg"}, {"1.jpg", temporary1}, {"a b%.png", "3.png"}});
    expected["2.jpg"] = "intruder";
    EXPECT_EQ(folder.contents(), expected);
}

TEST_F(JournalTest, UndoLeavesFilesChangedSinceAndNamesThem)
{
    const BatchPlan plan = begin();
    journal.end(plan, applyBatch(plan, fs));
    std::filesystem::rename(folder.pathOf("3.png"), folder.pathOf("mine.png"));
    std::vector<std::string> leftAlone;
    const BatchPlan undo = planUndo(*journal.lastRecord(), fs, leftAlone, fixedRandom({kDraw17}));
    ASSERT_EQ(undo.status, PlanStatus::Ready);
    EXPECT_FALSE(applyBatch(undo, fs).stopped());
    EXPECT_EQ(leftAlone, std::vector<std::string>{"3.png"});
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a b%.png", "mine.png"}}));
}

// Used to be taken for a file gone: the run went on and reported the files as missing.
TEST_F(JournalTest, AFolderMovedDuringTheRunStopsItWithEachFileWhereItStands)
{
    const BatchPlan plan = begin();
    fs.beforeRename(3, [&] { std::filesystem::rename(folder.path(), folder.path() + "-x"); });
    const BatchReport report = applyBatch(plan, fs);
    std::filesystem::rename(folder.path() + "-x", folder.path());
    EXPECT_TRUE(report.stopped());
    EXPECT_EQ(report.currentNames(plan, report.unrestored(), 5),
              (std::vector<std::string>{plan.items[0].temporary, plan.items[1].temporary}));
}

// Used to strand the file under ".zanto-rename-0", which no list shows.
TEST_F(JournalTest, ACaseOnlyRenameThatCanGoNeitherWayIsJournaledUnderAVisibleName)
{
    folder.write("photo.jpg");
    fs.setCaseInsensitive(true);
    fs.failRename(3, FsError::DiskNotReady);
    fs.failRename(4, FsError::DiskNotReady);
    std::string stranded;
    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg", &journal, &stranded), SingleOutcome::Stranded);
    EXPECT_EQ(folder.names(), std::vector<std::string>{stranded});
    EXPECT_NE(stranded.front(), '.');
    EXPECT_EQ(stranded.substr(stranded.size() - 4), ".jpg");
    EXPECT_TRUE(recoverBatch(pending(), RecoveryDirection::Forward, fs).empty());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Photo.jpg"});
}

// A file system that refuses the no-replace flag and hard links, of a type
// the test chooses; rename() only counts.
long g_volumeType = 0;
int g_renames = 0;
RenameCalls refusingCalls()
{
    RenameCalls calls;
    calls.renameat2 = [](int, const char*, int, const char*, unsigned) { return errno = EINVAL, -1; };
    calls.link = [](const char*, const char*) { return errno = EPERM, -1; };
    calls.rename = [](const char*, const char*) { return ++g_renames, 0; };
    calls.statfs = [](const char*, struct statfs* volume) { return volume->f_type = g_volumeType, 0; };
    return calls;
}

// Used to check, then rename, wherever link() was refused (NFS, protected_hardlinks):
// a file created in between was replaced.
TEST(NoReplaceFallback, ChecksThenRenamesOnlyWhereTheFileSystemHasNoHardLinks)
{
    TempFolder folder;
    folder.write("a.jpg");
    const std::pair<long, FsError> cases[] = {{0xEF53 /* ext4 */, FsError::PathFileAccess},
                                             {0x6969 /* NFS */, FsError::PathFileAccess},
                                             {0x4d44 /* FAT */, FsError::None},
                                             {0x65735546 /* FUSE */, FsError::None}};
    for (const auto& [type, expected] : cases) {
        g_volumeType = type;
        g_renames = 0;
        NativeFileSystem fs(refusingCalls());
        EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("b.jpg")), expected) << type;
        EXPECT_EQ(g_renames, expected == FsError::None ? 1 : 0) << type;
    }
}

TEST(NameRules, ControlCharactersArePastedNotTyped)
{
    EXPECT_TRUE(containsControl(std::string("x\0", 2)));
    EXPECT_TRUE(containsControl("a\tb"));
    EXPECT_FALSE(containsControl("写真 ＊"));
}

} // namespace
} // namespace zanto::test
