#pragma once

#include "rename/BatchPlan.h"
#include "rename/BatchReport.h"

#include <cstdint>
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
    // Positions of the items whose line was damaged: their names are only as
    // far as they could be read, and their files are never moved.
    std::vector<std::size_t> damaged;
};

// The journal's bytes. A line-based text:
//   ZANTO-JOURNAL 3
//   kind batch|undo
//   folder <stable> <device> <inode> <folder>
//   prefix <prefix>
//   items <count>
//   <device> <inode> <size> <modified ns> <original> <temporary> <final> <sum>   (one line per item; its sum starts from "<position> ")
//   end <FNV-1a 64 of the lines before the first item, 16 hex digits>
// Each item line carries its own device (on overlayfs a file's device is its
// layer's, not the folder's) and its own sum, so that a damaged line costs
// that one file, not the run. Then lines appended as the run goes, each
// closed by the FNV-1a 64 of the text before it:
//   step <to-temporary|to-final|back-to-temporary|back-to-original> <states> <sum>
//   ended <states> <sum>
// where <states> holds one letter per item: O, T, F or M. Names are bytes
// with space, '%', control bytes and DEL written as %XX, so any name, UTF-8
// or not, comes back byte for byte. Version 1 had no kind line and no steps;
// version 2 no device and no sum per item, one sum over the whole plan.
std::string encodeJournal(const Journal& journal);

// The same bytes a piece at a time, so that a plan of 100,000 files is
// written with the window served between pieces and never held whole as
// text. `plan` and `stamps` (one per item) must outlive the encoder.
class JournalEncoder {
public:
    JournalEncoder(JournalKind kind, const BatchPlan& plan, const std::vector<FileStamp>& stamps);
    // The next piece, in order; false once the last one was given.
    bool next(std::string& piece);

private:
    static constexpr std::size_t kItemsPerPiece = 2048;

    const JournalKind m_kind;
    const BatchPlan& m_plan;
    const std::vector<FileStamp>& m_stamps;
    std::optional<std::uint64_t> m_headSum; // once the head is given
    std::size_t m_position = 0;
    bool m_done = false;
};
std::string encodeStep(MoveStep step, const std::vector<EntryState>& states);
std::string encodeEnded(const std::vector<EntryState>& states);

// None for a head (the lines before the first item) that is torn, altered or
// of another format. An appended line whose sum does not match was cut short
// by a power cut and is left out: its step never began. An item line whose
// sum does not match, or that names no one name of the folder ("", ".", "..",
// or with "/"), is kept as damaged.
std::optional<Journal> decodeJournal(const std::string& bytes);

} // namespace zanto
