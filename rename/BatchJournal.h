#pragma once

#include "rename/BatchReport.h"
#include "rename/FileSystem.h"
#include "rename/Journal.h"
#include "rename/JournalFiles.h"
#include "rename/Pulse.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

class BatchJournal;

// The journal of one run, held (and so locked against other copies of the
// program) while the run lasts. It records each step before the step begins.
class JournalRun final : public StepLog {
public:
    // A run begun here, of the caller's `plan`, which outlives the run;
    // `stamps` where the plan has none of its own.
    JournalRun(BatchJournal& owner, std::unique_ptr<OpenJournal> file, JournalKind kind, const BatchPlan& plan,
               std::vector<FileStamp> stamps);
    // A run read back from its journal.
    JournalRun(BatchJournal& owner, std::unique_ptr<OpenJournal> file, Journal journal);
    JournalRun(const JournalRun&) = delete;
    JournalRun& operator=(const JournalRun&) = delete;

    // The journal as read back; of a run begun here, only its folder, steps
    // and end.
    const Journal& journal() const { return m_journal; }
    const std::string& name() const { return m_file->name(); }

    // Makes the moves so far durable, then records the step. A step that
    // cannot be recorded (a full disk) may still go on where the last step
    // recorded places every file of it as well: that step's named side is
    // this one's, and the files it moves were of that step.
    [[nodiscard]] bool beginStep(MoveStep step, const std::vector<EntryState>& states) override;

    // The run is over, each entry at `states`. The journal records where each
    // file ended, then becomes the record of the last batch (`asRecord`) or
    // goes; an undo first brings the record up to date. False when that could
    // not be done: the journal then waits for the next start.
    [[nodiscard]] bool finish(const std::vector<EntryState>& states, bool asRecord);

private:
    friend class BatchJournal;
    bool append(const std::string& line);
    bool placedByLastStep(MoveStep step, const std::vector<EntryState>& states) const;
    // Those taken at the start where the plan's own were not one per item.
    const std::vector<FileStamp>& stamps() const { return m_stamps.empty() ? m_plan.stamps : m_stamps; }

    BatchJournal& m_owner;
    std::unique_ptr<OpenJournal> m_file;
    // Of a run begun here, every field but the plan's items and stamps, which
    // are the caller's: a second copy would cost 30 MB at 100,000 files.
    Journal m_journal;
    const BatchPlan& m_plan;
    std::vector<FileStamp> m_stamps;
    // The file ends in a torn line that could not be cut off: the next line
    // starts with a line break of its own.
    bool m_tornTail = false;
};

// The journals of runs under way and the record of the last batch, in the
// program's state folder. Every run has a journal of its own, never
// overwritten, so that no run's record of names is lost to another's.
class BatchJournal {
public:
    BatchJournal(JournalFiles& files, FileSystem& fs) : m_files(files), m_fs(fs) {}

    // Writes the plan, with the stamps of its folder and files, before the
    // first file moves. None when it could not be written: nothing may move.
    // `plan` must outlive the run. `pulse` is called now and then on the way.
    std::unique_ptr<JournalRun> begin(const BatchPlan& plan, JournalKind kind = JournalKind::Batch,
                                      const Pulse& pulse = {});
    std::unique_ptr<JournalRun> begin(BatchPlan&&, JournalKind = JournalKind::Batch,
                                      const Pulse& = {}) = delete;
    // Where journals are written, and why the last write failed, for a message.
    std::string folder() const;
    std::error_code lastError() const { return m_files.lastError(); }

    // A journal of a run that never ended and that no running copy holds.
    struct Pending {
        std::string name;
        std::unique_ptr<JournalRun> run; // none: damaged, to be set aside
    };
    // Every one, oldest first, held until dropped.
    std::vector<Pending> pending();
    // Moves a damaged journal out of the way; returns where it now is.
    std::string setAside(const std::string& name);

    std::optional<Journal> lastRecord();
    [[nodiscard]] bool replaceRecord(const Journal& record);
    [[nodiscard]] bool clearRecord();
    // A record with a file still to undo.
    bool hasRecord();

private:
    friend class JournalRun;
    // After an undo of the record's folder: each of the record's files that
    // the undo moved is recorded where the undo left it (back under its
    // original name, stranded on the way, or where the batch left it). Done
    // from the undo alone, so that settling again after a recovery of the
    // same undo makes the record true again.
    bool settleUndo(const BatchPlan& undo, const std::vector<FileStamp>& undoStamps,
                    const std::vector<EntryState>& states);

    JournalFiles& m_files;
    FileSystem& m_fs;
};

} // namespace zanto
