#pragma once

#include "rename/BatchRename.h"
#include "rename/BatchReport.h"
#include "ui/Messenger.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace zanto {
class CaptureMoment;
enum class SingleOutcome;
struct TripCamera;
struct NewNameRow;
struct NewNameTable;
}

namespace zanto::messages {

// The main window's message boxes, each with its text, buttons, icon, default
// button and title, and the captions a batch shows while it runs. Names and
// folders come in native form and are shown in display form.
MessageRequest forbiddenName();
MessageRequest deviceNotReady();
MessageRequest unexpectedDriveError();
MessageRequest folderUnreadable(const QString& folder);
MessageRequest pathUnusable(const QString& path);
MessageRequest invalidPicture();
MessageRequest fileMissing();
// `files`: what the delete takes, named in the details when more than one.
MessageRequest confirmDelete(const std::vector<std::string>& files = {});
MessageRequest deleteFailed(const QString& file);

// ---- the rename of one file ----

// A rename of simple mode that did not end as Done.
MessageRequest singleRenameFailed(SingleOutcome outcome);
// A case-only rename could go neither forward nor back: the file is under
// `name`, which was `original`.
// The files of a shot that kept their names when its first file was renamed.
MessageRequest shotSplit(const std::vector<std::string>& left);
MessageRequest stranded(const std::string& name, const std::string& original);

// ---- the batch ----

// The question before anything moves; an empty base names only the number.
MessageRequest confirmBatch(const std::string& base);
// The confirmation's own button that opens the table of new names.
QString newNamesButton();
// Asked, entry by entry, for a listed file that can no longer be opened.
MessageRequest dropEntry(const std::string& entry);
// Why a batch or an undo is refused before anything moves, by the status of
// its plan: a new name too long, a folder that takes no name like one of the
// run's, a folder that cannot be read. None for a ready plan.
std::optional<MessageRequest> planRefused(const BatchPlan& plan);
// Before the confirmation: new names of the run that files outside it hold.
MessageRequest clashesAhead(const std::vector<NameClash>& clashes);
// After a run: entries left under their old names because a new name of
// theirs is taken; with `shots`, each with every file of its shot.
MessageRequest leftOut(const std::vector<std::string>& entries, bool shots);
// The tip of an entry of the series the numbers go on with: it keeps its name.
QString keepsItsName(const std::string& entry);

// A run's journal could not be written in the state `folder`, for `reason`.
MessageRequest journalUnwritable(const std::string& folder, std::error_code reason);
// The box of a stopped run, naming a file a failed rename took along.
// `fileSystem`: the type of the folder's file system, named when it has no safe rename.
MessageRequest batchStopped(const BatchPlan& plan, const BatchReport& report, const std::string& fileSystem = {});
// The single rename on a file system without a safe rename.
MessageRequest noSafeRename(const std::string& folder, const std::string& fileSystem);

// Caption of the check pass: `remaining` is the position just checked.
QString checkCaption(std::size_t remaining);
// Caption of the first pass: `position` is the 0-based position just handled.
// A folder that ends with the separator (a root) reads with "--".
QString readingCaption(const std::string& folder, std::size_t position);
// Caption of the second pass: entries not yet under their final names.
QString convertingCaption(std::size_t remaining);
// Caption once a batch has ended.
QString batchEndCaption();

// A file as a notice names it: the name it has now and, where that differs,
// the name it had before the run. Display form.
struct NoticeName {
    QString now;
    QString original;
};

// The files at `positions` of a run, each where `states` puts it and under
// its name before the run.
std::vector<NoticeName> noticeNames(const BatchPlan& plan, const std::vector<EntryState>& states,
                                    const std::vector<std::size_t>& positions);

// After a run, each naming the files concerned (the first few in the text,
// every one in the details):
// files that did not get their new names;
MessageRequest notRenamed(const std::vector<NoticeName>& names);
// files a stopped run could not give back their old names.
MessageRequest notRestored(const std::vector<NoticeName>& names);

// ---- undo and recovery ----

// Asked before the last batch of `folder` is undone.
MessageRequest confirmUndo(const std::string& folder);
// After an undo: files changed since the batch, left as they are;
MessageRequest leftAlone(const std::vector<NoticeName>& names);
// files whose original names another file holds, kept for a later undo;
MessageRequest originalTaken(const std::vector<NoticeName>& names);
// files the undo could not give back their names before the batch.
MessageRequest undoNotRestored(const std::vector<NoticeName>& names);

// Asked at start for each run that never ended, naming its folder; `undo`
// when the run was an undo.
MessageRequest recoveryQuestion(const std::string& folder, bool undo);
// Told once: the journal of an unfinished run was unreadable and now lies at `path`.
MessageRequest journalDamaged(const std::string& path);
// A recovery could not move every file, for `reason` (none: a step of it
// could not be recorded); the journal waits for the next start.
MessageRequest recoveryPostponed(const std::string& folder, std::optional<FsError> reason);
// The unfinished run's folder is gone or not mounted; the journal waits.
MessageRequest recoveryFolderMissing(const std::string& folder);

// ---- the table of new names ----

// What the run gives, above the table: the count, the range of the names,
// the width of the numbers and whether it grew, the rows to look at.
QString newNamesSummary(const NewNameTable& table);
// Why a row is marked, one sentence per mark.
QStringList markReasons(const NewNameRow& row, bool shots);

// ---- shooting times and cameras' clocks ----

// A camera as its files name it ("Canon EOS R6", "Apple iPhone 15"), or by
// the form of its names where they name none.
QString cameraName(const TripCamera& camera);
// A moment as the clock read it: "2024/05/01 10:00:00".
QString momentText(const CaptureMoment& moment);
// The line of a rename list's tip that tells when the file was taken.
QString takenLine(const CaptureMoment& moment);

} // namespace zanto::messages
