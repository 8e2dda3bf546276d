#pragma once

#include "rename/BatchPlan.h"
#include "rename/FileSystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zanto {

// Where a listed file stands after the run.
enum class EntryState : unsigned char {
    Original,  // under its old name
    Temporary, // under its temporary name
    Final,     // under its new name
    Missing,   // gone from the folder during the run
};

// The outcome of applying a plan, entry by entry.
class BatchReport {
public:
    explicit BatchReport(std::size_t count = 0) : m_states(count, EntryState::Original) {}

    const std::vector<EntryState>& states() const { return m_states; }
    EntryState state(std::size_t position) const { return m_states[position]; }
    void setState(std::size_t position, EntryState state) { m_states[position] = state; }

    // A stopped run moved every file it could back to its old name.
    bool stopped() const { return m_stopped; }
    FsError error() const { return m_error; }
    std::size_t stoppedAt() const { return m_stoppedAt; } // position whose rename failed
    void stop(FsError error, std::size_t position);

    // Positions of the files that did not end under their new names.
    std::vector<std::size_t> unfinished() const;
    // Positions of the files that a stopped run could not give back their old names.
    std::vector<std::size_t> unrestored() const;

    // The name a file now has in the folder (its old name when it is gone).
    static const std::string& currentName(const BatchItem& item, EntryState state);
    // Current names of the first `limit` of `positions`, for a notice.
    std::vector<std::string> currentNames(const BatchPlan& plan, const std::vector<std::size_t>& positions,
                                          std::size_t limit) const;

private:
    std::vector<EntryState> m_states;
    bool m_stopped = false;
    FsError m_error = FsError::None;
    std::size_t m_stoppedAt = 0;
};

} // namespace zanto
