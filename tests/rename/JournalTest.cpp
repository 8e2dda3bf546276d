#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/NameRules.h"
#include "rename/Recovery.h"
#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>

// The journal of a batch: its bytes, the record it leaves, recovery and undo
// from whatever the disk holds, and the paths that used to lose a name.

namespace zanto::test {
namespace {

class JournalTest : public ::testing::Test {
protected:
    // A swap (1 <-> 2) and a plain entry, planned and journaled.
    const BatchPlan& begin()
    {
        folder.writeAll({"1.jpg", "2.jpg", "a b%.png", "outside.txt"});
        before = folder.contents();
        begun = planBatch(folder.path(), {"2.jpg", "1.jpg", "a b%.png"}, "", fs, fixedRandom({kDraw17}));
        run = journal.begin(begun);
        EXPECT_TRUE(run);
        return begun;
    }
    // The one unfinished run, held as a start finds it.
    std::unique_ptr<JournalRun> pendingRun()
    {
        auto pending = journal.pending();
        EXPECT_EQ(pending.size(), 1u);
        return pending.empty() ? nullptr : std::move(pending.front().run);
    }
    void batch(const BatchPlan& plan)
    {
        const BatchReport report = applyBatch(plan, fs, {}, run.get());
        ASSERT_TRUE(run->finish(report.states(), true));
        run.reset();
    }

    TempFolder folder;
    TempFolder stateHome;
    FaultyFileSystem fs;
    StateFolder files{stateHome.path() + "/TOLVA"};
    BatchJournal journal{files, fs};
    BatchPlan begun; // outlives the run
    std::unique_ptr<JournalRun> run;
    Contents before;
};

// A plan of many files is written a piece at a time, the caller served
// between pieces, and reads back whole, every item and stamp in its place.
TEST_F(JournalTest, ALargePlanIsWrittenInPiecesAndReadsBackWhole)
{
    BatchPlan plan;
    plan.folder = folder.path();
    plan.folderStamp = fs.stamp(folder.path());
    plan.prefix = "連番17変換失敗";
    for (std::size_t i = 0; i < 5000; ++i) {
        const std::string number = std::to_string(i);
        plan.items.push_back({"IMG_" + number + ".JPG", plan.prefix + number + ".JPG", "旅行" + number + ".JPG"});
        plan.stamps.push_back(FileStamp{7, 1000 + i, i, static_cast<std::int64_t>(i) * 3, true});
    }
    std::size_t pulses = 0;
    run = journal.begin(plan, JournalKind::Batch, [&] { ++pulses; });
    ASSERT_TRUE(run);
    EXPECT_GE(pulses, 3u);
    run.reset(); // killed
    const auto back = pendingRun();
    ASSERT_TRUE(back);
    const BatchPlan& read = back->journal().plan;
    ASSERT_EQ(read.items.size(), plan.items.size());
    EXPECT_TRUE(back->journal().damaged.empty());
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        ASSERT_EQ(read.items[i].final, plan.items[i].final) << i;
        ASSERT_EQ(read.items[i].temporary, plan.items[i].temporary) << i;
        ASSERT_TRUE(read.stamps[i].sameFileAs(plan.stamps[i])) << i;
    }
}

TEST_F(JournalTest, AnyNameSurvivesTheRoundTripAndADamagedJournalIsRefused)
{
    Journal journal;
    journal.kind = JournalKind::Undo;
    BatchPlan& plan = journal.plan;
    plan.folder = "/tmp/f\xff old %20";
    plan.folderStamp = FileStamp{1, 2, 0, 0, false};
    plan.prefix = "連番17変換失敗";
    plan.items = {{std::string("a\0\n\r\x7f\xe9", 6), "連番17変換失敗0", "1"}, {" ", "%", "\x81\x40.txt"}};
    plan.stamps = {FileStamp{3, 4, 5, -6, false}, FileStamp{}};
    const std::string head = encodeJournal(journal);
    const std::string step = encodeStep(MoveStep::BackToOriginal, {EntryState::Temporary, EntryState::Missing});
    const std::string bytes = head + step;
    const auto back = decodeJournal(bytes + step.substr(0, 20)); // the power failed while a step was written
    ASSERT_TRUE(back);
    EXPECT_EQ(encodeJournal(*back) + encodeStep(back->lastStep->step, back->lastStep->states), bytes);
    EXPECT_EQ(back->plan.items[0].original, plan.items[0].original);
    EXPECT_EQ(back->kind, JournalKind::Undo);
    // A run that ended but whose journal was never closed, then recovered:
    // the recovery's step tells where the files are, not the end.
    const auto recovered = decodeJournal(head + encodeEnded({EntryState::Final, EntryState::Final}) + step);
    ASSERT_TRUE(recovered);
    EXPECT_FALSE(recovered->ended);

    std::string flipped = bytes;
    flipped[bytes.find("連番")] ^= 1;
    const auto named = [&](const std::string& name) {
        Journal altered = journal;
        altered.plan.items[1].final = name;
        return encodeJournal(altered);
    };
    for (const std::string& damaged :
         {head.substr(0, head.size() - 1), head.substr(0, head.size() / 2), flipped,
          head + encodeStep(MoveStep::ToFinal, {EntryState::Final}), std::string("[journal]\nfolder=/tmp\n"),
          std::string()})
        EXPECT_FALSE(decodeJournal(damaged)) << damaged;
    // A damaged item line, or one altered to name "../x", costs that item
    // alone: never moved, whatever the steps say, and still named.
    std::string itemFlipped = bytes;
    itemFlipped[bytes.find("\x81\x40.txt") + 3] ^= 1;
    for (const std::string& damaged : {itemFlipped, named("../x") + step, named("a/b") + step, named("..") + step,
                                       named(".") + step}) {
        const auto kept = decodeJournal(damaged);
        ASSERT_TRUE(kept) << damaged;
        EXPECT_EQ(kept->damaged, std::vector<std::size_t>{1});
        EXPECT_EQ(kept->plan.items[0].final, "1");
        EXPECT_EQ(kept->plan.items[1].original, " ");
        EXPECT_EQ(kept->lastStep->states, (std::vector<EntryState>{EntryState::Temporary, EntryState::Missing}));
    }

    auto file = files.create("journal-", head.substr(0, 40));
    ASSERT_TRUE(file);
    file.reset();
    auto pending = this->journal.pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_FALSE(pending.front().run);
    this->journal.setAside(pending.front().name);
    pending.clear();
    EXPECT_TRUE(this->journal.pending().empty()) << "told once";
}

// A symbolic link, a FIFO or a huge file put into the state folder reads as
// nothing, never as a journal, and nothing waits on it.
TEST_F(JournalTest, TheStateFolderReadsOnlyItsOwnPlainFiles)
{
    begin();
    run.reset();
    const std::string name = files.names("journal-").front();
    const std::string real = files.pathOf(name);
    std::filesystem::rename(real, stateHome.pathOf("elsewhere"));
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"symlink", [&] { std::filesystem::create_symlink(stateHome.pathOf("elsewhere"), real); }},
        {"fifo", [&] { ASSERT_EQ(::mkfifo(real.c_str(), 0600), 0); }},
        {"huge", [&] { std::filesystem::copy_file(stateHome.pathOf("elsewhere"), real);
                       std::filesystem::resize_file(real, StateFolder::kMaxFileSize + 1); }},
    };
    for (const auto& [what, plant] : cases) {
        std::filesystem::remove(real);
        plant();
        EXPECT_FALSE(files.read(name)) << what;
        EXPECT_FALSE(files.open(name).file) << what;
    }
}

TEST_F(JournalTest, ARunEndsAsTheRecordOrLeavesNothingOrStaysForTheNextStart)
{
    BatchPlan plan = begin();
    fs.failRename(2, FsError::DiskNotReady); // stopped and rolled back: nothing moved
    const BatchReport stopped = applyBatch(plan, fs, {}, run.get());
    ASSERT_TRUE(stopped.unrestored().empty());
    ASSERT_TRUE(run->finish(stopped.states(), false));
    EXPECT_FALSE(journal.hasRecord());
    EXPECT_TRUE(journal.pending().empty());

    run = journal.begin(plan);
    batch(plan);
    EXPECT_TRUE(journal.pending().empty());
    ASSERT_TRUE(journal.lastRecord());
    EXPECT_EQ(journal.lastRecord()->plan.items.size(), 3u);
}

// Killed in the second pass; meanwhile another program took a name the run needs.
TEST_F(JournalTest, RecoveryMovesOnlyTheRunsOwnFilesEitherWay)
{
    const BatchPlan plan = begin();
    for (const auto& item : plan.items)
        std::filesystem::rename(folder.pathOf(item.original), folder.pathOf(item.temporary));
    ASSERT_TRUE(run->beginStep(MoveStep::ToFinal, std::vector<EntryState>(3, EntryState::Temporary)));
    std::filesystem::rename(folder.pathOf(plan.items[0].temporary), folder.pathOf("1.jpg")); // 2.jpg -> 1.jpg
    folder.write("2.jpg", "intruder");
    run.reset();
    const auto found = pendingRun();

    const BatchReport back = recoverBatch(found->journal(), RecoveryDirection::Back, fs, found.get());
    EXPECT_EQ(back.notAt(EntryState::Original), std::vector<std::size_t>{0});
    Contents expected = movedContents(before, {{"2.jpg", plan.items[0].temporary}});
    expected["2.jpg"] = "intruder";
    EXPECT_EQ(folder.contents(), expected);

    const BatchReport forward = recoverBatch(found->journal(), RecoveryDirection::Forward, fs, found.get());
    EXPECT_EQ(forward.notAt(EntryState::Final), std::vector<std::size_t>{1});
    expected = movedContents(before, {{"2.jpg", "1.jpg"}, {"1.jpg", plan.items[1].temporary}, {"a b%.png", "3.png"}});
    expected["2.jpg"] = "intruder";
    EXPECT_EQ(folder.contents(), expected);
}

// A file put by someone else under one of the run's names stays where it is.
TEST_F(JournalTest, RecoveryNeverMovesAStrangerUnderTheRunsNames)
{
    const BatchPlan plan = begin();
    for (const auto& item : plan.items)
        std::filesystem::rename(folder.pathOf(item.original), folder.pathOf(item.temporary));
    // Written before the file goes, so that it cannot reuse the file's inode number.
    folder.write("stranger", "stranger");
    std::filesystem::remove(folder.pathOf(plan.items[2].temporary));
    std::filesystem::rename(folder.pathOf("stranger"), folder.pathOf(plan.items[2].temporary));
    run.reset();
    const auto found = pendingRun();
    EXPECT_EQ(recoverBatch(found->journal(), RecoveryDirection::Back, fs, found.get()).notAt(EntryState::Original),
              std::vector<std::size_t>{2});
    Contents expected = before;
    expected.erase("a b%.png");
    expected[plan.items[2].temporary] = "stranger";
    EXPECT_EQ(folder.contents(), expected);
}

// A run killed and left for later (キャンセル), then other runs: each keeps a
// journal of its own, and a journal that a live copy holds is not offered.
TEST_F(JournalTest, EveryUnfinishedRunKeepsItsOwnJournalAndALiveOneIsLeftAlone)
{
    begin();
    const std::string first = run->name();
    run.reset(); // killed
    std::vector<BatchJournal::Pending> asked = journal.pending();
    asked.clear(); // キャンセル: ask next time

    TempFolder other;
    other.writeAll({"x.jpg"});
    const BatchPlan livePlan = planBatch(other.path(), {"x.jpg"}, "y", fs);
    auto live = journal.begin(livePlan);
    ASSERT_TRUE(live);
    auto pending = journal.pending();
    ASSERT_EQ(pending.size(), 1u) << "the live run is another copy's";
    EXPECT_EQ(pending.front().name, first);
    pending.clear();
    ASSERT_TRUE(live->finish({EntryState::Original}, false));
    EXPECT_EQ(journal.pending().size(), 1u);
}

TEST_F(JournalTest, UndoLeavesFilesChangedSinceAndNamesThem)
{
    const BatchPlan plan = begin();
    batch(plan);
    std::filesystem::rename(folder.pathOf("3.png"), folder.pathOf("mine.png"));
    const UndoPlan undo = planUndo(*journal.lastRecord(), fs, fixedRandom({kDraw17}));
    ASSERT_EQ(undo.plan.status, PlanStatus::Ready);
    EXPECT_FALSE(applyBatch(undo.plan, fs).stopped());
    EXPECT_EQ(undo.changed, std::vector<std::size_t>{2});
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a b%.png", "mine.png"}}));
}

// Used to park the file under a temporary name and forget it; and a file the
// batch left under its temporary name was never given back.
TEST_F(JournalTest, UndoMovesNothingIntoATakenNameAndBringsBackAFileLeftOnItsWay)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "x2.jpg"}); // x2.jpg holds b's new name
    before = folder.contents();
    const BatchPlan plan = planBatch(folder.path(), {"a.jpg", "b.jpg", "c.jpg"}, "x", fs, fixedRandom({kDraw17}));
    run = journal.begin(plan);
    batch(plan);
    ASSERT_TRUE(folder.contents().count(plan.items[1].temporary));
    folder.write("a.jpg", "new a");

    const auto undoOnce = [&] {
        UndoPlan undo = planUndo(*journal.lastRecord(), fs);
        EXPECT_TRUE(journal.replaceRecord(undo.record));
        run = journal.begin(undo.plan, JournalKind::Undo);
        const BatchReport report = applyBatch(undo.plan, fs, {}, run.get());
        EXPECT_TRUE(run->finish(report.states(), false));
        return undo;
    };
    EXPECT_EQ(undoOnce().blocked, std::vector<std::size_t>{0});
    Contents expected = before;
    expected["x1.jpg"] = before.at("a.jpg");
    expected["a.jpg"] = "new a";
    EXPECT_EQ(folder.contents(), expected) << "b back from its temporary name, a left where it is";
    ASSERT_TRUE(journal.hasRecord()) << "the record keeps a";

    std::filesystem::remove(folder.pathOf("a.jpg"));
    EXPECT_TRUE(undoOnce().blocked.empty());
    expected.erase("x1.jpg");
    expected["a.jpg"] = before.at("a.jpg");
    EXPECT_EQ(folder.contents(), expected);
    EXPECT_FALSE(journal.hasRecord());
}

// Undos killed, then recovered either way, in the order a user meets them.
// Used to wipe another folder's record of the same camera names, and to
// leave a record without the names that a recovered undo gave back.
TEST_F(JournalTest, AKilledUndoRecoveredEitherWayLeavesEveryRecordTrue)
{
    const auto batchIn = [&](const std::string& path) {
        const BatchPlan plan = planBatch(path, {"IMG_1.JPG", "IMG_2.JPG"}, "trip", fs);
        run = journal.begin(plan);
        batch(plan);
    };
    // Applied, then killed before its journal is closed; the journal is
    // copied aside to play a kill after the record was brought up to date.
    const auto undoKilled = [&](bool afterSettling) {
        UndoPlan undo = planUndo(*journal.lastRecord(), fs);
        EXPECT_TRUE(journal.replaceRecord(undo.record));
        run = journal.begin(undo.plan, JournalKind::Undo);
        const BatchReport report = applyBatch(undo.plan, fs, {}, run.get());
        const std::string name = run->name();
        if (afterSettling) {
            std::filesystem::copy_file(files.pathOf(name), stateHome.pathOf("copy"));
            EXPECT_TRUE(run->finish(report.states(), false));
            std::filesystem::rename(stateHome.pathOf("copy"), files.pathOf(name));
        }
        run.reset();
    };
    const auto recover = [&](RecoveryDirection direction) {
        const auto found = pendingRun();
        ASSERT_TRUE(found);
        const BatchReport report = recoverBatch(found->journal(), direction, fs, found.get());
        EXPECT_TRUE(found->finish(report.states(), false));
    };

    // As on cards: the two folders' files alike in size and time.
    fs.setInodesLasting(false);
    TempFolder other;
    const auto when = std::filesystem::file_time_type::clock::now();
    for (const TempFolder* card : {&folder, &other}) {
        for (const char* name : {"IMG_1.JPG", "IMG_2.JPG"}) {
            std::filesystem::path path = card->pathOf(name);
            std::ofstream(path) << name;
            std::filesystem::last_write_time(path, when);
        }
    }
    before = folder.contents();
    batchIn(folder.path());
    undoKilled(false);
    journal.pending().clear(); // キャンセル
    batchIn(other.path());
    recover(RecoveryDirection::Forward); // いいえ: the undo in the first folder ends
    EXPECT_EQ(folder.contents(), before);
    ASSERT_TRUE(journal.hasRecord());
    EXPECT_EQ(journal.lastRecord()->plan.folder, other.path());
    EXPECT_EQ(journal.lastRecord()->ended, std::vector<EntryState>(2, EntryState::Final));

    // The same undo killed between bringing the record up to date and
    // closing its journal, then put back (はい): the record undoes it again.
    undoKilled(true);
    EXPECT_FALSE(journal.hasRecord());
    recover(RecoveryDirection::Back);
    EXPECT_EQ(other.names(), (std::vector<std::string>{"trip1.JPG", "trip2.JPG"}));
    ASSERT_TRUE(journal.hasRecord());
    const UndoPlan again = planUndo(*journal.lastRecord(), fs);
    EXPECT_TRUE(again.changed.empty() && again.blocked.empty());
    EXPECT_EQ(again.plan.items.size(), 2u);
}

// A recovery's move that fails keeps the journal only for a cause that every
// move would meet: one locked file must not keep it for good.
TEST_F(JournalTest, ARecoveryIsBlockedOnlyByWhatHoldsForTheWholeFolder)
{
    const std::pair<FsError, std::optional<FsError>> cases[] = {
        {FsError::PathFileAccess, std::nullopt},                // one locked file
        {FsError::PathFileAccess, FsError::PathFileAccess},     // a write-protected card
        {FsError::Other, std::nullopt},                         // a name the driver refuses
        {FsError::DiskFull, std::nullopt},
        {FsError::DiskNotReady, std::nullopt},
    };
    for (const auto& [error, probes] : cases) {
        const BatchPlan plan = begin();
        std::filesystem::rename(folder.pathOf(plan.items[0].original), folder.pathOf(plan.items[0].temporary));
        run.reset(); // killed
        const auto found = pendingRun();
        fs.answerProbes(probes.value_or(FsError::None));
        fs.failRename(fs.renameCalls() + 1, error);
        const BatchReport report = recoverBatch(found->journal(), RecoveryDirection::Back, fs, found.get());
        const bool wholeFolder = error != FsError::PathFileAccess && error != FsError::Other;
        EXPECT_EQ(report.blockedBy(), wholeFolder || probes ? error : FsError::None) << static_cast<int>(error);
        std::filesystem::rename(folder.pathOf(plan.items[0].temporary), folder.pathOf(plan.items[0].original));
        EXPECT_TRUE(found->finish(report.states(), false));
    }
}

// Used to be taken for a file gone: the run went on and reported the files as missing.
TEST_F(JournalTest, AFolderMovedDuringTheRunStopsItWithEachFileWhereItStands)
{
    const BatchPlan plan = begin();
    fs.beforeRename(3, [&] { std::filesystem::rename(folder.path(), folder.path() + "-x"); });
    const BatchReport report = applyBatch(plan, fs);
    std::filesystem::rename(folder.path() + "-x", folder.path());
    EXPECT_TRUE(report.stopped());
    EXPECT_EQ(report.unrestored(), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(report.state(0), EntryState::Temporary);
}

// Used to strand the file under ".zanto-rename-0", which no list shows.
TEST_F(JournalTest, ACaseOnlyRenameThatCanGoNeitherWayIsJournaledUnderAVisibleName)
{
    folder.write("photo.jpg");
    fs.setCaseInsensitive(true);
    fs.failRename(3, FsError::DiskNotReady);
    fs.failRename(4, FsError::DiskNotReady);
    SingleRenameNotes notes;
    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg", &journal, &notes), SingleOutcome::Stranded);
    const std::string& stranded = notes.stranded;
    EXPECT_EQ(folder.names(), std::vector<std::string>{stranded});
    EXPECT_NE(stranded.front(), '.');
    EXPECT_EQ(stranded.substr(stranded.size() - 4), ".jpg");
    const auto found = pendingRun();
    EXPECT_TRUE(recoverBatch(found->journal(), RecoveryDirection::Forward, fs, found.get()).notAt(EntryState::Final).empty());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Photo.jpg"});
}

// fusefat drops the entry when a rename to a name it cannot write fails: the
// run stops and names the file, which is under neither name.
TEST_F(JournalTest, ARenameThatTakesItsFileAlongStopsTheRunAndNamesIt)
{
    const BatchPlan plan = begin();
    fs.beforeRename(2, [&] { std::filesystem::remove(folder.pathOf("1.jpg")); });
    fs.failRename(2, FsError::DiskNotReady);
    const BatchReport report = applyBatch(plan, fs);
    ASSERT_TRUE(report.lost());
    EXPECT_EQ(report.lost()->position, 1u);
    EXPECT_EQ(report.lost()->from, "1.jpg");
    EXPECT_EQ(report.state(0), EntryState::Original) << "the others are put back";
}

// A file system that refuses the no-replace flag and hard links, of a type
// the test chooses; rename() only counts, as do the refused calls.
long g_volumeType = 0;
int g_renames = 0;
int g_refused = 0;
RenameCalls refusingCalls()
{
    RenameCalls calls;
    calls.renameat2 = [](int, const char*, int, const char*, unsigned) { return ++g_refused, errno = EINVAL, -1; };
    calls.link = [](const char*, const char*) { return ++g_refused, errno = EPERM, -1; };
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
    // Where hard links exist but were refused, no rename is safe: told as such.
    const std::pair<long, FsError> cases[] = {{0xEF53 /* ext4 */, FsError::NoSafeRename},
                                             {0x6969 /* NFS */, FsError::NoSafeRename},
                                             {0x786f4256 /* vboxsf */, FsError::NoSafeRename},
                                             {0x4d44 /* FAT */, FsError::None},
                                             {0x65735546 /* FUSE */, FsError::None}};
    for (const auto& [type, expected] : cases) {
        g_volumeType = type;
        g_renames = 0;
        NativeFileSystem fs(refusingCalls());
        EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("b.jpg")), expected) << type;
        EXPECT_EQ(g_renames, expected == FsError::None ? 1 : 0) << type;
        if (type == 0x786f4256) {
            EXPECT_EQ(fs.typeName(folder.path()), "vboxsf");
        }
        // The next rename in the folder skips the calls its mount refused:
        // on a FUSE card each one is a round trip per file. A link refused
        // where hard links exist may be that one file's, and is asked again.
        g_refused = 0;
        EXPECT_EQ(fs.renameNoReplace(folder.pathOf("a.jpg"), folder.pathOf("c.jpg")), expected) << type;
        EXPECT_EQ(g_refused, expected == FsError::None ? 0 : 1) << type;
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
