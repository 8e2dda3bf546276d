#include "BatchReport.h"

namespace zanto {

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

std::vector<std::string> BatchReport::currentNames(const BatchPlan& plan, const std::vector<std::size_t>& positions,
                                                   std::size_t limit) const
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < positions.size() && i < limit; ++i)
        names.push_back(currentName(plan.items[positions[i]], m_states[positions[i]]));
    return names;
}

} // namespace zanto
