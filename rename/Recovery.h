#pragma once

#include "rename/BatchRename.h"
#include "rename/Journal.h"

#include <string>
#include <vector>

namespace zanto {

// Putting right a batch that never ended, and undoing the last one. Where
// each file stands is read back from the disk: a file is known by its stamp
// under one of its own three names, never by a name alone, so a file that
// took one of those names meanwhile is never moved. Nothing is replaced.

enum class RecoveryDirection {
    Back,    // every file to its original name
    Forward, // every file on to its final name
};

// True when the journal's folder still stands at its path.
bool journalFolderPresent(const Journal& journal, FileSystem& fs);

// Moves the run's files the given way, through their temporary names so that
// exchanged names work out. Safe to run again after a kill at any point.
// Returns the files that did not reach their goal, as they now stand (a file
// found under none of its names under its original name).
std::vector<std::string> recoverBatch(const Journal& journal, RecoveryDirection direction, FileSystem& fs);

// The undo of a completed batch: every file still under its final name with
// its own stamp goes back. `leftAlone` gets the final names of the others.
BatchPlan planUndo(const Journal& record, FileSystem& fs, std::vector<std::string>& leftAlone,
                   const RandomSource& random = clockSeededRandom());

} // namespace zanto
