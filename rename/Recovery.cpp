#include "Recovery.h"

#include "rename/PathRule.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

bool holds(FileSystem& fs, const std::string& folder, const std::string& name, const FileStamp& stamp)
{
    const auto found = fs.stamp(joinPath(folder, name));
    return found && found->sameFileAs(stamp);
}

// The run's state for a file found under its own name with its own stamp.
EntryState checked(const Journal& journal, std::size_t i, EntryState where, FileSystem& fs)
{
    if (where == EntryState::Missing)
        return where;
    const std::string& name = BatchReport::currentName(journal.plan.items[i], where);
    return holds(fs, journal.plan.folder, name, journal.plan.stamps[i]) ? where : EntryState::Missing;
}

// A journal of an older version, without steps: each file is looked for under
// its three names by its stamp. Where inode numbers do not last, a name that
// the stamps of two entries fit proves neither.
std::vector<EntryState> locateByStamps(const Journal& journal, FileSystem& fs)
{
    const BatchPlan& plan = journal.plan;
    const std::size_t count = plan.items.size();
    std::vector<EntryState> where(count, EntryState::Missing);
    std::vector<std::vector<EntryState>> candidates(count);
    std::unordered_map<std::string_view, int> claims;
    for (std::size_t i = 0; i < count; ++i) {
        if ((where[i] = checked(journal, i, EntryState::Temporary, fs)) == EntryState::Temporary)
            continue;
        for (const EntryState state : {EntryState::Original, EntryState::Final}) {
            if (checked(journal, i, state, fs) == state) {
                candidates[i].push_back(state);
                ++claims[BatchReport::currentName(plan.items[i], state)];
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (candidates[i].size() != 1)
            continue;
        const EntryState state = candidates[i].front();
        if (plan.stamps[i].stableInode || claims[BatchReport::currentName(plan.items[i], state)] == 1)
            where[i] = state;
    }
    return where;
}

} // namespace

bool journalFolderPresent(const Journal& journal, FileSystem& fs)
{
    const auto now = fs.stamp(journal.plan.folder);
    return now && journal.plan.folderStamp && now->sameFolderAs(*journal.plan.folderStamp);
}

std::vector<EntryState> locateEntries(const Journal& journal, FileSystem& fs)
{
    const std::size_t count = journal.plan.items.size();
    if (journal.stepsUnknown)
        return locateByStamps(journal, fs);
    std::vector<EntryState> where;
    if (journal.ended) {
        where = *journal.ended;
    } else {
        // An entry of the last step stands under its temporary name exactly
        // when that name exists: the other side of the step is the only other
        // place the step may have left it. Every other entry stands where the
        // step found it.
        const JournalStep step = journal.lastStep.value_or(
            JournalStep{MoveStep::ToTemporary, std::vector<EntryState>(count, EntryState::Original)});
        const EntryState source = sourceOf(step.step);
        const EntryState other = namedSideOf(step.step);
        where = step.states;
        for (const std::size_t i : journal.damaged)
            where[i] = EntryState::Missing;
        for (std::size_t i = 0; i < count; ++i) {
            if (where[i] == source)
                where[i] = fs.exists(joinPath(journal.plan.folder, journal.plan.items[i].temporary))
                    ? EntryState::Temporary
                    : other;
        }
    }
    for (std::size_t i = 0; i < count; ++i)
        where[i] = checked(journal, i, where[i], fs);
    return where;
}

BatchReport recoverBatch(const Journal& journal, RecoveryDirection direction, FileSystem& fs, StepLog* log)
{
    BatchReport report(locateEntries(journal, fs));
    const bool back = direction == RecoveryDirection::Back;
    const MoveStep steps[2] = {back ? MoveStep::BackToTemporary : MoveStep::ToTemporary,
                               back ? MoveStep::BackToOriginal : MoveStep::ToFinal};
    for (const MoveStep step : steps) {
        if (!moveEntries(journal.plan, step, report, fs, log)) {
            report.stop(FsError::Other, 0);
            break;
        }
    }
    return report;
}

UndoPlan planUndo(const Journal& record, FileSystem& fs, const RandomSource& random)
{
    const BatchPlan& batch = record.plan;
    const std::size_t count = batch.items.size();
    const std::vector<EntryState> ended = record.ended.value_or(std::vector<EntryState>(count, EntryState::Final));
    UndoPlan undo;

    // Where the batch left each file, if it is still there.
    std::vector<bool> candidate(count, false);
    std::vector<bool> changed(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (ended[i] != EntryState::Final && ended[i] != EntryState::Temporary)
            continue;
        candidate[i] = true;
        changed[i] = !holds(fs, batch.folder, BatchReport::currentName(batch.items[i], ended[i]), batch.stamps[i]);
    }
    // Without inode numbers that last, a stamp that several files share does
    // not tell them apart: they count as unchanged only while all of them are.
    std::map<std::pair<std::uint64_t, std::int64_t>, bool> sharedChanged;
    for (std::size_t i = 0; i < count; ++i) {
        if (candidate[i] && !batch.stamps[i].stableInode)
            sharedChanged[{batch.stamps[i].size, batch.stamps[i].modifiedNs}] |= changed[i];
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (candidate[i] && !batch.stamps[i].stableInode)
            changed[i] = sharedChanged[{batch.stamps[i].size, batch.stamps[i].modifiedNs}];
    }

    // An original name held by a file that stays (not one of the moves) blocks
    // its move; a blocked move keeps its own name held in turn.
    std::unordered_map<std::string_view, std::size_t> moverAt;
    for (std::size_t i = 0; i < count; ++i) {
        if (candidate[i] && !changed[i])
            moverAt.emplace(BatchReport::currentName(batch.items[i], ended[i]), i);
    }
    std::vector<bool> blocked(count, false);
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (!candidate[i] || changed[i] || blocked[i])
                continue;
            const std::string& goal = batch.items[i].original;
            const auto holder = moverAt.find(goal);
            const bool free = holder != moverAt.end() ? holder->second == i || !blocked[holder->second]
                                                      : !fs.exists(joinPath(batch.folder, goal));
            if (!free) {
                blocked[i] = true;
                again = true;
            }
        }
    }

    std::vector<BatchItem> moves;
    std::vector<FileStamp> stamps;
    undo.record = record;
    undo.record.plan.items.clear();
    undo.record.plan.stamps.clear();
    undo.record.ended.emplace();
    for (std::size_t i = 0; i < count; ++i) {
        if (!candidate[i])
            continue;
        if (changed[i]) {
            undo.changed.push_back(i);
            continue;
        }
        if (blocked[i])
            undo.blocked.push_back(i);
        else
            moves.push_back({BatchReport::currentName(batch.items[i], ended[i]), {}, batch.items[i].original});
        undo.record.plan.items.push_back(batch.items[i]);
        undo.record.plan.stamps.push_back(batch.stamps[i]);
        undo.record.ended->push_back(ended[i]);
    }
    undo.plan = planMoves(batch.folder, std::move(moves), fs, random);
    return undo;
}

} // namespace zanto
