#pragma once

#include "rename/BatchPlan.h"
#include "rename/FileSystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

// Where a listed file stands.
enum class EntryState : unsigned char {
    Original,  // under its old name
    Temporary, // under its temporary name
    Final,     // under its new name
    Missing,   // not where the run put it: gone, replaced, or past telling
};

// A run moves its files in steps. In each step every entry that stands in the
// step's source state moves on to its target state, and one side of every
// step is the temporary name, which belongs to the run alone. So after a kill
// in the middle of a step, an entry of that step is under its temporary name
// exactly when that name exists: the order of the moves, not the files'
// stamps, tells where each file is.
enum class MoveStep : unsigned char {
    ToTemporary,     // original -> temporary (the first pass)
    ToFinal,         // temporary -> final (the second pass)
    BackToTemporary, // final -> temporary (putting a run back)
    BackToOriginal,  // temporary -> original
};
EntryState sourceOf(MoveStep step);
EntryState targetOf(MoveStep step);
// The side of a step that is not the temporary name.
EntryState namedSideOf(MoveStep step);

// Told before each step's first move, with every entry's state; records it
// durably, once the moves before it are durable. False when it could not:
// then nothing more may move, or a later recovery would misread the disk.
class StepLog {
public:
    virtual ~StepLog() = default;
    [[nodiscard]] virtual bool beginStep(MoveStep step, const std::vector<EntryState>& states) = 0;
};

// The outcome of applying a plan, entry by entry.
class BatchReport {
public:
    explicit BatchReport(std::size_t count = 0) : m_states(count, EntryState::Original) {}
    explicit BatchReport(std::vector<EntryState> states) : m_states(std::move(states)) {}

    const std::vector<EntryState>& states() const { return m_states; }
    EntryState state(std::size_t position) const { return m_states[position]; }
    void setState(std::size_t position, EntryState state) { m_states[position] = state; }

    // A stopped run moved every file it could back to its old name.
    bool stopped() const { return m_stopped; }
    FsError error() const { return m_error; }
    std::size_t stoppedAt() const { return m_stoppedAt; } // position whose rename failed
    void stop(FsError error, std::size_t position);

    // The first failed move whose cause would fail the others too (refused
    // access, a read-only folder, a full disk); None when there was none.
    FsError blockedBy() const { return m_blockedBy; }
    void noteBlocked(FsError error)
    {
        if (m_blockedBy == FsError::None)
            m_blockedBy = error;
    }

    // A rename that failed and took its file along: the file is under neither
    // name (some FAT drivers drop the entry on a name they cannot write).
    struct LostFile {
        std::size_t position;
        std::string from;
        std::string to;
    };
    const std::optional<LostFile>& lost() const { return m_lost; }
    void setLost(LostFile lost) { m_lost = std::move(lost); }

    // Positions of the files that did not end under their new names.
    std::vector<std::size_t> unfinished() const;
    // Positions of the files that a stopped run could not give back their old names.
    std::vector<std::size_t> unrestored() const;
    // Positions of the files that stand neither under `goal` nor are gone.
    std::vector<std::size_t> notAt(EntryState goal) const;

    // The name a file now has in the folder (its old name when it is gone).
    static const std::string& currentName(const BatchItem& item, EntryState state);

private:
    std::vector<EntryState> m_states;
    bool m_stopped = false;
    FsError m_error = FsError::None;
    std::size_t m_stoppedAt = 0;
    FsError m_blockedBy = FsError::None;
    std::optional<LostFile> m_lost;
};

} // namespace zanto
