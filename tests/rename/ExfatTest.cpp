#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestVolume.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sys/wait.h>
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
        before = contentsOf(card.path());
    }
    BatchPlan plan() { return planBatch(card.path(), {"2.jpg", "1.jpg", "IMG_0001.JPG"}, "", fs); }

    TestVolume card{TestVolume::Kind::Exfat};
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
    EXPECT_EQ(contentsOf(card.path()), before);

    const BatchPlan planned = plan();
    EXPECT_EQ(applyBatch(planned, fs).unfinished(), std::vector<std::size_t>{2});
    EXPECT_EQ(contentsOf(card.path()), movedContents(before, {{"2.jpg", "1.jpg"}, {"1.jpg", "2.jpg"},
                                                              {"IMG_0001.JPG", planned.items[2].temporary}}));
}

// Used to say the name was taken: exfat-fuse gives the two spellings two inodes.
TEST_F(ExfatTest, ACaseOnlyRenameIsDone)
{
    EXPECT_EQ(renameSingle(fs, card.path(), "3.jpg", "3.JPG", &journal), SingleOutcome::Done);
    EXPECT_EQ(contentsOf(card.path()), movedContents(before, {{"3.jpg", "3.JPG"}}));
    EXPECT_EQ(renameSingle(fs, card.path(), "1.jpg", "2.JPG"), SingleOutcome::NameTaken);
}

// A burst of photos of one size and one modification time, which no stamp
// tells apart, each taking the name of the one before ("3.jpg" -> "2.jpg").
// The batch runs in a child process that ends itself, as a kill would, just
// before one of its renames or before closing its journal: each in turn, of a
// run that ends and of one whose second pass fails and is rolled back; then
// recovery, back or forward.
constexpr std::size_t kPhotos = 8;
constexpr std::size_t kEventLimit = 64; // past the last rename of any run here
constexpr int kKilled = 86; // the child's exit status at its kill

std::string original(std::size_t i) { return std::to_string(i + 2) + ".jpg"; }
std::string renamed(std::size_t i) { return std::to_string(i + 1) + ".jpg"; }
std::string photo(std::size_t i) { return "photo " + std::to_string(i); }

// Where the burst lies: an ordinary folder read without inode numbers, as on
// a card; the exFAT card; overlayfs with its photos in a lower layer on
// another file system, each photo on its layer's device.
enum class Where { WithoutLastingInodes, OnTheExfatCard, OnOverlayOverTwoFileSystems };

class KillSweepTest : public ::testing::TestWithParam<Where> {
protected:
    void SetUp() override
    {
        if (GetParam() != Where::WithoutLastingInodes && ::geteuid() != 0)
            GTEST_SKIP() << "mounting needs root";
        if (GetParam() == Where::OnTheExfatCard)
            card.emplace(TestVolume::Kind::Exfat);
        writeBurst();
    }
    bool overlay() const { return GetParam() == Where::OnOverlayOverTwoFileSystems; }
    void prepare(FaultyFileSystem& fs) const { fs.setInodesLasting(GetParam() != Where::WithoutLastingInodes); }
    std::string statePath() const { return stateHome.path() + "/TOLVA"; }

    // Afresh each time; on overlay, a new mount over the photos' lower layer.
    void writeBurst()
    {
        if (overlay()) {
            TestVolume::Files files;
            for (std::size_t i = 0; i < kPhotos; ++i)
                files[original(i)] = photo(i);
            card.reset();
            card.emplace(TestVolume::Kind::Overlay, files);
        }
        ASSERT_TRUE(!card || card->mounted());
        folder = card ? card->path() : plain.path();
        if (overlay())
            return;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove(entry.path());
        for (std::size_t i = 0; i < kPhotos; ++i)
            std::ofstream(folder + "/" + original(i)) << photo(i);
        // A FUSE driver may finish writing a file after it is closed, and
        // that touches its time: the burst's one time is set once every
        // file is written out.
        ::sync();
        const auto when = std::filesystem::file_time_type::clock::now();
        for (std::size_t i = 0; i < kPhotos; ++i)
            std::filesystem::last_write_time(folder + "/" + original(i), when);
    }

    // True when the child was killed; false when its run ended.
    bool runKilledAt(std::size_t event, bool failing) const
    {
        const pid_t child = ::fork();
        if (child == 0) {
            FaultyFileSystem fs;
            prepare(fs);
            fs.beforeRename(event, [] { ::_exit(kKilled); });
            if (failing) // the fifth rename of the second pass
                fs.failRename(kPhotos + 5, FsError::DiskNotReady);
            StateFolder state(statePath());
            BatchJournal journal(state, fs);
            std::vector<std::string> names;
            for (std::size_t i = 0; i < kPhotos; ++i)
                names.push_back(original(i));
            const BatchPlan plan = planBatch(folder, names, "", fs);
            const auto run = journal.begin(plan);
            const BatchReport report = applyBatch(plan, fs, {}, run.get());
            if (event == fs.renameCalls() + 1) // the journal about to be closed
                ::_exit(kKilled);
            ::_exit(run->finish(report.states(), !report.stopped()) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == kKilled));
        return WIFEXITED(status) && WEXITSTATUS(status) == kKilled;
    }

    // How many photos are not under the name `nameOf` gives them; the folder
    // must hold nothing else.
    std::size_t misplaced(const std::function<std::string(std::size_t)>& nameOf, const std::string& round) const
    {
        Contents expected;
        for (std::size_t i = 0; i < kPhotos; ++i)
            expected[nameOf(i)] = photo(i);
        const Contents now = contentsOf(folder);
        EXPECT_EQ(now, expected) << round;
        std::size_t count = 0;
        for (const auto& [name, content] : expected)
            count += !now.contains(name) || now.at(name) != content;
        return count;
    }

    std::optional<TestVolume> card;
    TempFolder plain;
    TempFolder stateHome;
    std::string folder;
};

TEST_P(KillSweepTest, AfterAKillBeforeAnyRenameEachFileIsPlacedByTheRecordedStepAndRecoveredEitherWay)
{
    FaultyFileSystem fs;
    prepare(fs);
    for (std::size_t i = 1; i < kPhotos && !overlay(); ++i)
        ASSERT_TRUE(fs.stamp(folder + "/" + original(i))->sameFileAs(*fs.stamp(folder + "/" + original(0))));
    if (overlay()) {
        ASSERT_NE(fs.stamp(folder + "/" + original(0))->device, fs.stamp(folder)->device);
    }

    std::size_t kills = 0;
    std::size_t wrong = 0;
    for (const bool failing : {false, true}) {
        for (const bool back : {true, false}) {
            for (std::size_t event = 1; event <= kEventLimit && !HasFatalFailure(); ++event) {
                const std::string round = std::string(failing ? "stopped run" : "run") + " killed at event "
                    + std::to_string(event) + (back ? ", recovered back" : ", recovered forward");
                writeBurst();
                const bool killed = runKilledAt(event, failing);
                StateFolder state(statePath());
                BatchJournal journal(state, fs);
                auto pending = journal.pending();
                if (!killed) {
                    EXPECT_TRUE(pending.empty()) << round;
                    wrong += misplaced(failing ? original : renamed, round);
                    break;
                }
                ++kills;
                ASSERT_TRUE(pending.size() == 1 && pending[0].run) << round;
                JournalRun& run = *pending[0].run;
                const std::vector<EntryState> where = locateEntries(run.journal(), fs);
                wrong += misplaced([&](std::size_t i) {
                    const BatchItem& item = run.journal().plan.items[i];
                    return where[i] == EntryState::Missing ? "(nowhere) " + item.original
                                                           : BatchReport::currentName(item, where[i]);
                }, round);

                const BatchReport report = recoverBatch(
                    run.journal(), back ? RecoveryDirection::Back : RecoveryDirection::Forward, fs, &run);
                EXPECT_TRUE(report.notAt(back ? EntryState::Original : EntryState::Final).empty()) << round;
                EXPECT_TRUE(run.finish(report.states(), !back)) << round;
                wrong += misplaced(back ? original : renamed, round + ", after recovery");
            }
        }
    }
    std::cout << "[ figures  ] " << kills << " kills, " << wrong << " misplaced" << std::endl;
    // Each run: two passes of renames and the close; a rollback on top.
    EXPECT_GT(kills, 4 * (2 * kPhotos + 1));
}

std::string nameOf(const ::testing::TestParamInfo<Where>& info)
{
    constexpr const char* kNames[] = {"WithoutLastingInodes", "OnTheExfatCard", "OnOverlayOverTwoFileSystems"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Burst, KillSweepTest,
                         ::testing::Values(Where::WithoutLastingInodes, Where::OnTheExfatCard,
                                           Where::OnOverlayOverTwoFileSystems),
                         nameOf);

} // namespace
} // namespace zanto::test
