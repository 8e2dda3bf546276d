#pragma once

#include "rename/BatchPlan.h"
#include "rename/BatchReport.h"
#include "rename/FileNameParts.h"
#include "rename/FileSystem.h"
#include "rename/Pulse.h"
#include "rename/ShotGroups.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

// The batch rename of continuous mode, in the steps the window calls in turn:
// planBatch (computes every name, and the clashes told first), checkPass
// (interactive; the plan is made again only where it dropped an entry, or the
// folder changed meanwhile), applyBatch (moves the files). Names are bare native names of files in `folder`.

enum class CheckResult { Done, Cancelled };

// Answers whether an entry whose file cannot be opened leaves the list
// (true) or the whole command ends (false).
using DropQuestion = std::function<bool(const std::string& entry)>;
// Told the position just checked, for the caption.
using CheckProgress = std::function<void(std::size_t position)>;

// Checks the entries last first, so that a dropped one does not move those
// still to be checked. Entries dropped before a Cancel stay dropped.
CheckResult checkPass(const std::string& folder, std::vector<std::string>& entries, FileSystem& fs,
                      const DropQuestion& askDrop, const CheckProgress& progress);

// Uniform numbers in [0, 1), the draw of the temporary prefix.
using RandomSource = std::function<double()>;
RandomSource clockSeededRandom();

// Where the numbers start and how wide they are at least (0: as many digits
// as the largest number has, never fewer than the count has).
struct Numbering {
    std::size_t start = 1;
    std::size_t minDigits = 0;
    // The base whose series the numbers go on with (続きから): under that
    // base, entries already named base + a number keep their names and the
    // others are numbered. None: every entry is numbered.
    std::optional<std::string> series;

    bool operator==(const Numbering&) const = default;
};

// The name the entry at `position` (0-based) of a list of `count` entries
// ends with: the base, its number zero-filled to the width of the count, and
// the entry's own extension.
std::string finalName(const std::string& base, std::size_t position, std::size_t count, const std::string& entry,
                      const Numbering& numbering = {});

// The end of a series already in the folder under `base`: the highest number
// of a name "base" + digits + an extension or none, and the digits it is
// written with ("旅行03.jpg" -> 3, 2). Names and base compare by `key` (a name
// written on a Mac belongs to the series typed here). None when there is no
// such name.
struct SeriesEnd {
    std::size_t last = 0;
    std::size_t digits = 0;
    std::string base;
};
std::optional<SeriesEnd> seriesEnd(const std::vector<std::string>& names, const std::string& base,
                                   const NameKey& key = {});
// The number `name` writes after `base` in such a series, and its digits; none
// when it is not one of its names.
std::optional<SeriesEnd> seriesNumber(const std::string& name, const std::string& base, const NameKey& key = {});

// How a batch numbers its files.
struct BatchOptions {
    // One number per shot (a RAW, its JPEG and their sidecars, see
    // groupShots), every file of a shot keeping its whole tail of extensions.
    bool shots = false;
    // How names compare for "taken", beside their bytes and their ASCII
    // case (nameKeyOf); no two files of a run get one new name by it.
    NameKey nameKey{};
    Numbering numbering{};
    // With shots: the Live Photos whose still and clip go together by their
    // identifier (ShotLinks), read when the folder was.
    std::shared_ptr<const ShotLinks> links{};
};

// Every temporary and final name of the run. The temporary names are chosen
// so that none of them is held by a file of the folder, an entry or a final
// name of the run; the plan is refused when a new name is too long for the
// folder's file system. With shots, a shot one of whose new names a file
// outside the run holds is left out whole (BatchPlan::leftOut); without shots,
// so is an entry whose new name differs from a file's outside the run only
// by nameKeyOf, in letter case or Unicode form (one held byte for byte ends
// under its temporary name). BatchPlan::clashes names every file whose new
// name is held, to be told before anything moves. The folder is read once.
// `pulse` is called between the plan's steps.
BatchPlan planBatch(const std::string& folder, const std::vector<std::string>& entries, const std::string& base,
                    FileSystem& fs, const RandomSource& random = clockSeededRandom(), const BatchOptions& options = {},
                    const Pulse& pulse = {});

// Each file of a run with its new name, in the run's order, before any check:
// one number per entry, or with shots one per shot over the folder's `names`.
// `shotOf` gets each item's shot (without shots, each entry is one); a shot
// of the series the numbering continues has no items.
std::vector<BatchItem> batchItems(const std::vector<std::string>& entries, const std::string& base,
                                  const std::vector<std::string>& names, const BatchOptions& options,
                                  std::vector<std::size_t>* shotOf = nullptr);

// The same for moves whose original and final names are given (an undo):
// chooses the temporary names and checks their length.
BatchPlan planMoves(const std::string& folder, std::vector<BatchItem> items, FileSystem& fs,
                    const RandomSource& random = clockSeededRandom());

enum class BatchPhase {
    ToTemporary, // number: the 0-based position just handled
    ToFinal,     // number: entries not yet under their final names
    Restoring,   // number: files still to be moved back after a stop
};
using BatchProgress = std::function<void(BatchPhase phase, std::size_t number)>;

// Moves every file to its temporary name, then every one on to its final
// name, in list order. A file gone meanwhile, or a name already taken, leaves
// that file where it is and the run goes on; a folder gone or replaced stops
// the run where it stands. Any other failure stops the run
// and every file already moved goes back to its old name. A plan that is not
// Ready moves nothing. `log`, when given, records each step before it begins.
BatchReport applyBatch(const BatchPlan& plan, FileSystem& fs, const BatchProgress& progress = {},
                       StepLog* log = nullptr);

// Moves the entries that stand in the step's source state (as `report` says)
// on to its target, after `log` has recorded the step. A failure leaves its
// entry where it stands. False when the step could not be recorded.
bool moveEntries(const BatchPlan& plan, MoveStep step, BatchReport& report, FileSystem& fs, StepLog* log);

} // namespace zanto
