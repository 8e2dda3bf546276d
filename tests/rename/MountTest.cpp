#include "fs/NativeFileSystem.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestVolume.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <unistd.h>

// The corners of real mounts where a run used to lose names: overlayfs over
// two file systems, FAT through fusefat, a full state disk. Root only.

namespace zanto::test {
namespace {

const std::vector<std::string> kPhotos{"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG"};

#define NEEDS_ROOT(volume)                                                                                  \
    if (::geteuid() != 0)                                                                                  \
        GTEST_SKIP() << "mounting needs root";                                                             \
    ASSERT_TRUE((volume).mounted())

// Photos in an ext4 lower layer, the upper on tmpfs (a live system, a
// container): each photo's device is its layer's, not the folder's.
TEST(OverlayOverTwoFileSystems, AKilledBatchIsPutBackAndAFinishedOneUndone)
{
    TestVolume overlay(TestVolume::Kind::Overlay, {{kPhotos[0], "1"}, {kPhotos[1], "2"}, {kPhotos[2], "3"}});
    NEEDS_ROOT(overlay);
    const Contents before = contentsOf(overlay.path());
    NativeFileSystem fs;
    TempFolder stateHome;
    StateFolder state(stateHome.path() + "/TOLVA");
    BatchJournal journal(state, fs);

    BatchPlan plan = planBatch(overlay.path(), kPhotos, "trip", fs);
    ASSERT_TRUE(journal.begin(plan));
    ASSERT_EQ(fs.renameNoReplace(overlay.path() + "/" + kPhotos[0], overlay.path() + "/" + plan.items[0].temporary),
              FsError::None); // then killed
    auto pending = journal.pending();
    ASSERT_EQ(pending.size(), 1u);
    const Journal& killed = pending.front().run->journal();
    ASSERT_TRUE(journalFolderPresent(killed, fs));
    EXPECT_EQ(locateEntries(killed, fs),
              (std::vector<EntryState>{EntryState::Temporary, EntryState::Original, EntryState::Original}));
    EXPECT_TRUE(recoverBatch(killed, RecoveryDirection::Back, fs, pending.front().run.get()).notAt(EntryState::Original).empty());
    ASSERT_TRUE(pending.front().run->finish(locateEntries(killed, fs), false));
    EXPECT_EQ(contentsOf(overlay.path()), before);

    plan = planBatch(overlay.path(), kPhotos, "trip", fs);
    auto run = journal.begin(plan);
    ASSERT_TRUE(run->finish(applyBatch(plan, fs, {}, run.get()).states(), true));
    const UndoPlan undo = planUndo(*journal.lastRecord(), fs);
    EXPECT_TRUE(undo.changed.empty());
    EXPECT_FALSE(applyBatch(undo.plan, fs).stopped());
    EXPECT_EQ(contentsOf(overlay.path()), before);
}

// fusefat refuses names beyond ASCII, and the rename that fails drops the
// file, while a lookup still finds it in the kernel's entry cache.
TEST(FatThroughFuse, ABatchLeavesEveryFileOnTheCardAndALostOneIsNamed)
{
    TestVolume card(TestVolume::Kind::FatFuse);
    NEEDS_ROOT(card);
    for (const std::string& name : kPhotos)
        std::ofstream(card.path() + "/" + name) << name;
    const Contents before = contentsOf(card.path());
    FaultyFileSystem fs;

    const BatchPlan refused = planBatch(card.path(), kPhotos, "trip", fs);
    EXPECT_EQ(refused.status, PlanStatus::NameUnwritable);
    EXPECT_EQ(refused.unwritableName, refused.items[0].temporary);
    EXPECT_EQ(refused.listError, FsError::Other) << "the name is refused, not the folder";
    EXPECT_TRUE(applyBatch(refused, fs).stopped());
    EXPECT_EQ(contentsOf(card.path()), before);

    fs.answerProbes(FsError::None); // as if the folder had shown it takes the names
    const BatchReport report = applyBatch(planBatch(card.path(), kPhotos, "trip", fs), fs);
    ASSERT_TRUE(report.lost());
    EXPECT_EQ(report.lost()->from, kPhotos[0]);
}

// Free space gone from the state disk while a run goes on: a run that cannot
// record its second pass is put back all the same, and a journal torn at the
// end is not taken for a damaged one.
TEST(FullStateDisk, NoFileIsLeftUnderATemporaryNameAndATornJournalIsKept)
{
    TestVolume disk(TestVolume::Kind::SmallTmpfs, {}, 256 * 1024);
    NEEDS_ROOT(disk);
    TempFolder folder;
    folder.writeAll(kPhotos);
    const Contents before = folder.contents();
    FaultyFileSystem fs;
    StateFolder state(disk.path() + "/TOLVA");
    BatchJournal journal(state, fs);
    const BatchPlan plan = planBatch(folder.path(), kPhotos, "trip", fs);
    Journal written;
    written.plan = plan;
    for (const std::string& name : kPhotos)
        written.plan.stamps.push_back(*fs.stamp(folder.pathOf(name)));

    // Journals without room kept for their steps, each ending `room` bytes
    // short of a page's end, so that an append needs a page the disk no
    // longer has and is torn after those bytes.
    const long page = ::sysconf(_SC_PAGESIZE);
    const auto sizeOf = [](const std::string& path) { return std::ifstream(path, std::ios::ate).tellg(); };
    const auto journalEndingAt = [&](const std::string& torn, long room) {
        auto file = state.create("journal-", encodeJournal(written));
        const std::string path = state.pathOf(file->name());
        const auto size = static_cast<long>(sizeOf(path));
        const long pad = (2 * page - (size + static_cast<long>(torn.size()) + room) % page) % page;
        std::ofstream(path, std::ios::app) << std::string(static_cast<std::size_t>(std::max(pad - 1, 0L)), 'x')
                                           << (pad > 0 ? "\n" : "") << torn;
        return file;
    };
    auto live = journalEndingAt("", 10);
    const std::string livePath = state.pathOf(live->name());
    const auto liveSize = sizeOf(livePath);
    auto torn = journalEndingAt("step to-final TTT", 0);
    torn.reset(); // killed while it appended
    const int filler = ::open((disk.path() + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    const std::string block(4096, '0');
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    ::close(filler);

    JournalRun run(journal, std::move(live), written);
    const BatchReport report = applyBatch(plan, fs, {}, &run);
    EXPECT_TRUE(report.stopped()) << "the second pass could not be recorded";
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(sizeOf(livePath), liveSize) << "a torn append is taken back";
    EXPECT_TRUE(run.finish(report.states(), false));

    auto pending = journal.pending();
    ASSERT_EQ(pending.size(), 1u);
    ASSERT_TRUE(pending.front().run) << "not damaged";
    EXPECT_EQ(locateEntries(pending.front().run->journal(), fs), std::vector<EntryState>(3, EntryState::Original));
}

// With no room for a step, it goes on only where a recovery reading the last
// step recorded finds every file where this step leaves it.
TEST(FullStateDisk, AStepGoesOnUnrecordedOnlyWhereTheLastStepRecordedPlacesItsFiles)
{
    TestVolume disk(TestVolume::Kind::SmallTmpfs, {}, 256 * 1024);
    NEEDS_ROOT(disk);
    constexpr EntryState O = EntryState::Original, T = EntryState::Temporary, F = EntryState::Final;
    struct Row {
        const char* what;
        std::optional<JournalStep> last;
        MoveStep step;
        std::vector<EntryState> states;
        bool goesOn;
    };
    const Row rows[] = {
        {"a stopped first pass put back", std::nullopt, MoveStep::BackToOriginal, {T, T, O}, true},
        {"the second pass", std::nullopt, MoveStep::ToFinal, {T, T, T}, false},
        {"a stopped second pass put back", JournalStep{MoveStep::ToFinal, {T, T, T}}, MoveStep::BackToTemporary,
         {F, F, T}, true},
        {"then back to the old names", JournalStep{MoveStep::ToFinal, {T, T, T}}, MoveStep::BackToOriginal,
         {T, T, T}, false},
        {"forward after a rollback, files it never moved", JournalStep{MoveStep::BackToOriginal, {T, O, O}},
         MoveStep::ToTemporary, {T, O, O}, false},
        {"back after a second pass, a file already renamed", JournalStep{MoveStep::ToFinal, {T, F, T}},
         MoveStep::BackToTemporary, {F, F, T}, false},
    };
    TempFolder stateHome;
    FaultyFileSystem fs;
    StateFolder state(disk.path() + "/TOLVA");
    BatchJournal journal(state, fs);
    std::vector<std::unique_ptr<OpenJournal>> files;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        files.push_back(state.create("journal-", std::string(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)), 'x')));
    const int filler = ::open((disk.path() + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    while (::write(filler, std::string(4096, '0').data(), 4096) > 0) {
    }
    ::close(filler);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Journal recorded;
        recorded.plan.folder = stateHome.path();
        recorded.plan.items.resize(3);
        recorded.lastStep = rows[i].last;
        JournalRun run(journal, std::move(files[i]), recorded);
        EXPECT_EQ(run.beginStep(rows[i].step, rows[i].states), rows[i].goesOn) << rows[i].what;
    }
}

} // namespace
} // namespace zanto::test
