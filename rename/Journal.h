#pragma once

#include "rename/BatchPlan.h"
#include "rename/BatchReport.h"

#include <optional>
#include <string>
#include <vector>

namespace zanto {

enum class JournalKind {
    Batch, // a batch of continuous mode, or a case-only rename
    Undo,  // the undo of the last batch: never itself the record of a batch
};

struct JournalStep {
    MoveStep step = MoveStep::ToTemporary;
    std::vector<EntryState> states; // each entry's state as the step began
};

// A run's plan as written down before the first file moves: what each file
// was, is to be called on the way and in the end, how to know it again (the
// folder's stamp and one stamp per item), then the steps the run began and,
// once it is over, where each file ended.
struct Journal {
    JournalKind kind = JournalKind::Batch;
    BatchPlan plan;
    // The last step begun; none: the first pass, every entry from its original name.
    std::optional<JournalStep> lastStep;
    // Where each entry stood when the run ended: the record of a finished
    // batch. A step recorded after it (a recovery of a journal whose run
    // ended but was not closed) takes its place.
    std::optional<std::vector<EntryState>> ended;
    // Written by an older version, which recorded no steps: where a file
    // stands can only be read from the stamps.
    bool stepsUnknown = false;
};

// The journal's bytes. A line-based text:
//   ZANTO-JOURNAL 2
//   kind batch|undo
//   folder <stable> <device> <inode> <folder>
//   prefix <prefix>
//   items <count>
//   <inode> <size> <modified ns> <original> <temporary> <final>   (one line per item, on the folder's device)
//   end <FNV-1a 64 of every byte before this line, 16 hex digits>
// then lines appended as the run goes, each closed by the FNV-1a 64 of the
// text before it:
//   step <to-temporary|to-final|back-to-temporary|back-to-original> <states> <sum>
//   ended <states> <sum>
// where <states> holds one letter per item: O, T, F or M. Names are bytes
// with space, '%', control bytes and DEL written as %XX, so any name, UTF-8
// or not, comes back byte for byte. Version 1 had no kind line and no steps.
std::string encodeJournal(const Journal& journal);
std::string encodeStep(MoveStep step, const std::vector<EntryState>& states);
std::string encodeEnded(const std::vector<EntryState>& states);

// None for anything torn, truncated, altered or of another format (an appended
// line whose sum does not match was cut short by a power cut and is left out:
// its step never began), and
// for a name that is not one name of the folder ("", ".", "..", or with "/").
std::optional<Journal> decodeJournal(const std::string& bytes);

} // namespace zanto
