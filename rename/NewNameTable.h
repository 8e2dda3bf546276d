#pragma once

#include "rename/BatchPlan.h"
#include "rename/BatchRename.h"
#include "rename/NameMark.h"
#include "rename/Pulse.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zanto {

class FileSystem;

// One shot of a run (one entry, without shots) as the table of new names shows it.
struct NewNameRow {
    std::string number;                // as the new names write it; empty for a shot left out
    std::vector<std::string> oldNames; // every file of the shot, the head first
    std::vector<std::string> newNames; // the name each of them ends with, in the same order
    NameMarks marks;
    std::string holder;  // the file that has a new name of the shot, when one has
    std::string picture; // a sidecar's picture, when the folder has it
    std::string sameAs;  // a file of the run with the same bytes (on request)
};

// Every name a run gives, in the run's order, read from the plan that runs.
struct NewNameTable {
    std::string base;
    bool shots = false;           // a row per shot, or per file
    std::vector<NewNameRow> rows;
    std::size_t files = 0;        // the files that move
    std::string firstNumber;      // the range of the numbers the run gives
    std::string lastNumber;
    // Names base + a number outside the run written with fewer digits than
    // the run's (0: none): the numbers grew, and the names no longer sort.
    std::size_t narrowerDigits = 0;
    std::size_t markedRows = 0;
};

// The table of `plan`, made from `entries`, `base` and `options` over the
// folder's `names` as read. A file that the plan leaves under its temporary
// name shows that name.
NewNameTable newNameTable(const BatchPlan& plan, const std::vector<std::string>& entries, const std::string& base,
                          const std::vector<std::string>& names, const BatchOptions& options,
                          const Pulse& pulse = {});

// Marks each file of the run whose bytes another file of the run holds too,
// naming that file; only files of equal size are read. Nothing is removed.
void markSameContent(NewNameTable& table, const std::string& folder, FileSystem& fs, const Pulse& pulse = {});

} // namespace zanto
