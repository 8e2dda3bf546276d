#pragma once

#include "rename/BatchReport.h"
#include "rename/FileSystem.h"
#include "rename/Journal.h"
#include "rename/JournalFiles.h"

#include <optional>
#include <string>

namespace zanto {

// The journal of the batch under way and the record of the last one, in the
// program's state folder. One file at a time moves from "under way" to
// "record" (or away) in a single rename, so a kill leaves one or the other.
class BatchJournal {
public:
    BatchJournal(JournalFiles& files, FileSystem& fs) : m_files(files), m_fs(fs) {}

    // Writes the plan, with the stamps of its folder and files, before the
    // first file moves. False when it could not be written: nothing may move.
    bool begin(const BatchPlan& plan);
    // The run is over. A stopped run that left files on their way keeps its
    // journal for the next start; otherwise the journal becomes the record of
    // the last batch when files took their new names and `keepRecord`, or goes.
    void end(const BatchPlan& plan, const BatchReport& report, bool keepRecord = true);

    enum class Pending { None, Unfinished, Damaged };
    // The journal of a run that never ended, if any.
    Pending pending(Journal& journal);
    // Moves a damaged journal out of the way; returns where it now is.
    std::string setAside();
    // The recovered run is over: its journal becomes the record (files ended
    // under their new names) or goes away.
    void closeRecovered(bool forward);

    std::optional<Journal> lastRecord();
    void clearRecord();

    bool hasRecord();

private:
    JournalFiles& m_files;
    FileSystem& m_fs;
};

} // namespace zanto
