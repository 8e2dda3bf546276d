#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/ExfatVolume.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"
#include "ui/StateFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

// A camera card: exFAT through exfat-fuse on a loop device. No hard links, no
// no-replace flag, names found in any case, and inode numbers handed out per
// lookup ("photo.jpg" and "Photo.jpg" of one file get two).

namespace zanto::test {
namespace {

class ExfatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting an exFAT image needs root";
        ASSERT_TRUE(card.mounted());
        // "3.jpg" holds the last new name in another case.
        for (const char* name : {"2.jpg", "1.jpg", "IMG_0001.JPG", "3.jpg"})
            std::ofstream(card.path() + "/" + name) << "content of " << name;
        before = contents();
    }
    Contents contents() const { return contentsOf(card.path()); }
    BatchPlan plan() { return planBatch(card.path(), {"2.jpg", "1.jpg", "IMG_0001.JPG"}, "", fs); }

    ExfatVolume card;
    FaultyFileSystem fs;
    TempFolder stateHome;
    StateFolder state{stateHome.path() + "/TOLVA"};
    BatchJournal journal{state, fs};
    Contents before;
};

TEST_F(ExfatTest, ABatchRunsNeverReplacingANameInAnotherCaseAndAStoppedOneRollsBack)
{
    fs.failRename(5, FsError::DiskNotReady);
    EXPECT_TRUE(applyBatch(plan(), fs).stopped());
    EXPECT_EQ(contents(), before);

    const BatchPlan planned = plan();
    EXPECT_EQ(applyBatch(planned, fs).unfinished(), std::vector<std::size_t>{2});
    EXPECT_EQ(contents(), movedContents(before, {{"2.jpg", "1.jpg"}, {"1.jpg", "2.jpg"},
                                                 {"IMG_0001.JPG", planned.items[2].temporary}}));
}

// The file system forgets its inode numbers between the kill and the next start.
TEST_F(ExfatTest, AKilledRunIsRecoveredByStampWhenInodesChange)
{
    const BatchPlan planned = plan();
    ASSERT_TRUE(journal.begin(planned));
    for (const auto& item : planned.items)
        ASSERT_EQ(fs.renameNoReplace(card.path() + "/" + item.original, card.path() + "/" + item.temporary), FsError::None);
    ASSERT_EQ(fs.renameNoReplace(card.path() + "/" + planned.items[0].temporary, card.path() + "/1.jpg"), FsError::None);
    ::sync();
    std::ofstream("/proc/sys/vm/drop_caches") << "2";

    Journal found;
    ASSERT_EQ(journal.pending(found), BatchJournal::Pending::Unfinished);
    ASSERT_TRUE(journalFolderPresent(found, fs));
    EXPECT_TRUE(recoverBatch(found, RecoveryDirection::Back, fs).empty());
    EXPECT_EQ(contents(), before);
}

// Used to say the name was taken: exfat-fuse gives the two spellings two inodes.
TEST_F(ExfatTest, ACaseOnlyRenameIsDone)
{
    EXPECT_EQ(renameSingle(fs, card.path(), "3.jpg", "3.JPG", &journal), SingleOutcome::Done);
    EXPECT_EQ(contents(), movedContents(before, {{"3.jpg", "3.JPG"}}));
    EXPECT_EQ(renameSingle(fs, card.path(), "1.jpg", "2.JPG"), SingleOutcome::NameTaken);
}

} // namespace
} // namespace zanto::test
