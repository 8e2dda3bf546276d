#pragma once

#include "rename/BatchRename.h"
#include "rename/Journal.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zanto {

// Putting right a run that never ended, and undoing the last batch. Where
// each file stands is worked out from the order of the run's moves and the
// step its journal recorded last; a file's stamp only tells whether the file
// under that name is still the run's own. An entry that the order and the
// stamps do not place is left where it is. Nothing is replaced.

enum class RecoveryDirection {
    Back,    // every file to its original name
    Forward, // every file on to its final name
};

// True when the journal's folder still stands at its path.
bool journalFolderPresent(const Journal& journal, FileSystem& fs);

// Where each entry of the run stands now; Missing where its file is not where
// the run put it (gone, replaced by another, or past telling).
std::vector<EntryState> locateEntries(const Journal& journal, FileSystem& fs);

// Moves the run's files the given way from where they stand, through their
// temporary names so that exchanged names work out, recording each step in
// `log` first. Safe to run again after a kill at any point. Stopped when a
// step could not be recorded.
BatchReport recoverBatch(const Journal& journal, RecoveryDirection direction, FileSystem& fs, StepLog* log);

// The undo of the last batch: each file still where the batch left it goes
// back to its original name, and only when that name is free (or held by
// another file of the undo), so that no file is parked on the way.
struct UndoPlan {
    BatchPlan plan;                   // from where each file stands to its original name
    Journal record;                   // the record without the entries changed since
    std::vector<std::size_t> changed; // positions in the record: renamed, replaced or gone since
    std::vector<std::size_t> blocked; // positions in the record: another file holds the original name
};
UndoPlan planUndo(const Journal& record, FileSystem& fs, const RandomSource& random = clockSeededRandom());

} // namespace zanto
