#pragma once

#include <functional>

class QWidget;

namespace zanto {

class FileSystem;
class LongWork;
class ProgramSettings;
class RenameList;
struct ListChange;
struct ProgramValues;
struct TolvaForm;

// Continuous mode's rename list: ↑ ↓ × and the refresh button, the keys,
// dragging, and the orders by date and by name. Which entry moves where is
// worked out by RenameList; this carries it out on the list.
class RenameListController {
public:
    // `runLong` runs a command that may take long (the order by date).
    using RunLong = std::function<void(const std::function<void()>&)>;

    RenameListController(TolvaForm& form, ProgramValues& values, FileSystem& fileSystem, ProgramSettings& settings,
                         LongWork& work, RunLong runLong);

    void moveUp();
    void moveDown();
    void erase();
    // The folder read again and the list rebuilt from it, the name panel cleared.
    void refresh();
    // Up and Down in the list: true when the key was taken.
    bool keyDown(int key);
    void drag(int from, int to);
    // The entries by shooting date, or back in natural order; the selected
    // entry stays selected.
    void order(bool byDate);
    // Every file of the listing, in its order; with shots, the first of each.
    void reload();
    // One entry per shot from now on (its later members leave the list), or
    // every file again; stored for the next start.
    void setShots(bool on);
    // The stored choice, shown in the menu, before the list is first filled.
    void restoreShots();
    // 番号の付け方(&N)...: where the numbers start and how wide they are.
    void chooseNumbering(QWidget* parent);

private:
    RenameList state() const;
    void apply(const ListChange& change);

    TolvaForm& m_form;
    ProgramValues& m_values;
    FileSystem& m_fileSystem;
    ProgramSettings& m_settings;
    LongWork& m_work;
    RunLong m_runLong;
};

} // namespace zanto
