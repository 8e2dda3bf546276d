#include "BatchReport.h"

namespace zanto {

EntryState sourceOf(MoveStep step)
{
    switch (step) {
    case MoveStep::ToTemporary:
        return EntryState::Original;
    case MoveStep::ToFinal:
    case MoveStep::BackToOriginal:
        return EntryState::Temporary;
    case MoveStep::BackToTemporary:
        break;
    }
    return EntryState::Final;
}

EntryState targetOf(MoveStep step)
{
    switch (step) {
    case MoveStep::ToTemporary:
    case MoveStep::BackToTemporary:
        return EntryState::Temporary;
    case MoveStep::ToFinal:
        return EntryState::Final;
    case MoveStep::BackToOriginal:
        break;
    }
    return EntryState::Original;
}

EntryState namedSideOf(MoveStep step)
{
    return sourceOf(step) == EntryState::Temporary ? targetOf(step) : sourceOf(step);
}

void BatchReport::stop(FsError error, std::size_t position)
{
    m_stopped = true;
    m_error = error;
    m_stoppedAt = position;
}

std::vector<std::size_t> BatchReport::unfinished() const
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i] != EntryState::Final)
            positions.push_back(i);
    }
    return positions;
}

std::vector<std::size_t> BatchReport::unrestored() const
{
    std::vector<std::size_t> positions;
    if (!m_stopped)
        return positions;
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i] == EntryState::Temporary || m_states[i] == EntryState::Final)
            positions.push_back(i);
    }
    return positions;
}

std::vector<std::size_t> BatchReport::notAt(EntryState goal) const
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i] != goal)
            positions.push_back(i);
    }
    return positions;
}

const std::string& BatchReport::currentName(const BatchItem& item, EntryState state)
{
    switch (state) {
    case EntryState::Temporary:
        return item.temporary;
    case EntryState::Final:
        return item.final;
    case EntryState::Original:
    case EntryState::Missing:
        break;
    }
    return item.original;
}

} // namespace zanto
