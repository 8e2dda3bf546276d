#pragma once

#include <string>
#include <vector>

namespace zanto {

// What one operation of the rename list does: its edit, the position left
// selected (-1 for none), and whether the list's selection reaction runs.
struct ListChange {
    enum class Edit { None, Swap, Remove, Reload, Move };
    Edit edit = Edit::None;
    int at = -1; // Swap: `at` and `at` + 1; Remove: `at`; Move: from `at` to `select`
    int select = -1;
    bool react = false;
};

// The operations of the rename list of continuous mode, worked out from the
// list's count and selected position; `apply` carries one out on the names.
class RenameList {
public:
    RenameList(int count, int selected);

    // ↑ and ↓: the selected entry changes places with its neighbour and stays
    // selected; nothing happens at the end it would leave the list by.
    ListChange moveUp() const;
    ListChange moveDown() const;
    // ×: the selected entry leaves the list; the one that followed it is
    // selected, or the first one when it was the last.
    ListChange erase() const;
    // A drag: the entry at `from` is taken out and put back at `to`, and is
    // selected, as ↑ and ↓ leave it.
    ListChange moveTo(int from, int to) const;
    // Refresh: the list holds the folder listing again, nothing selected.
    ListChange refresh() const;
    // The arrow keys: one step, wrapping round at either end. Up with nothing
    // selected does nothing.
    ListChange keyDown() const;
    ListChange keyUp() const;

    static void apply(const ListChange& change, std::vector<std::string>& names,
                      const std::vector<std::string>& listing);

private:
    ListChange keep() const;
    ListChange select(int position) const;

    int m_count;
    int m_selected;
};

} // namespace zanto
