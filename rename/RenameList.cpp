#include "RenameList.h"

#include <algorithm>
#include <utility>

namespace zanto {

RenameList::RenameList(int count, int selected)
    : m_count(count)
    , m_selected(selected >= 0 && selected < count ? selected : -1)
{
}

ListChange RenameList::keep() const
{
    return {ListChange::Edit::None, -1, m_selected, false};
}

ListChange RenameList::select(int position) const
{
    return {ListChange::Edit::None, -1, position, true};
}

ListChange RenameList::moveUp() const
{
    if (m_selected <= 0)
        return keep();
    return {ListChange::Edit::Swap, m_selected - 1, m_selected - 1, false};
}

ListChange RenameList::moveDown() const
{
    if (m_selected < 0 || m_selected == m_count - 1)
        return keep();
    return {ListChange::Edit::Swap, m_selected, m_selected + 1, false};
}

ListChange RenameList::moveTo(int from, int to) const
{
    if (from < 0 || from >= m_count || to < 0 || to >= m_count)
        return keep();
    return {from == to ? ListChange::Edit::None : ListChange::Edit::Move, from, to, false};
}

ListChange RenameList::erase() const
{
    if (m_selected < 0)
        return keep();
    if (m_selected == m_count - 1)
        return {ListChange::Edit::Remove, m_selected, m_count == 1 ? -1 : 0, true};
    return {ListChange::Edit::Remove, m_selected, m_selected, true};
}

ListChange RenameList::refresh() const
{
    return {ListChange::Edit::Reload, -1, -1, false};
}

ListChange RenameList::keyDown() const
{
    if (m_count == 0)
        return keep();
    return select(m_selected == m_count - 1 ? 0 : m_selected + 1);
}

ListChange RenameList::keyUp() const
{
    if (m_selected < 0)
        return keep();
    return select(m_selected == 0 ? m_count - 1 : m_selected - 1);
}

void RenameList::apply(const ListChange& change, std::vector<std::string>& names,
                       const std::vector<std::string>& listing)
{
    switch (change.edit) {
    case ListChange::Edit::None:
        break;
    case ListChange::Edit::Swap:
        std::swap(names[static_cast<std::size_t>(change.at)], names[static_cast<std::size_t>(change.at) + 1]);
        break;
    case ListChange::Edit::Remove:
        names.erase(names.begin() + change.at);
        break;
    case ListChange::Edit::Reload:
        names = listing;
        break;
    case ListChange::Edit::Move: {
        const auto from = names.begin() + change.at;
        const auto to = names.begin() + change.select;
        if (from < to)
            std::rotate(from, from + 1, to + 1);
        else
            std::rotate(to, from, from + 1);
        break;
    }
    }
}

} // namespace zanto
