#pragma once

#include "listing/TripCamera.h"

#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace zanto {

class CameraClocksWindow;
class FileSystem;
class ListBox;
class LongWork;
class ProgramSettings;
class RenameListView;
class RenameList;
struct ListChange;
struct ProgramValues;

// Continuous mode's rename list: ↑ ↓ × and the refresh button, the keys,
// dragging, and the orders by date and by name. Which entry moves where is
// worked out by RenameList; this carries it out on the list, and sees the
// rest of the window through its view.
class RenameListController {
public:
    // `runLong` runs a command that may take long (the order by date).
    using RunLong = std::function<void(const std::function<void()>&)>;

    RenameListController(ListBox& list, RenameListView& view, ProgramValues& values, FileSystem& fileSystem,
                         ProgramSettings& settings, LongWork& work, RunLong runLong);

    void moveUp();
    void moveDown();
    void erase();
    // The folder read again and the list rebuilt from it, the name panel cleared.
    void refresh();
    // Up and Down in the list: true when the key was taken.
    bool keyDown(int key);
    void drag(int from, int to);
    // The entries by shooting date, each camera's clock put right while the
    // window of cameras' clocks is open, or back in natural order; the
    // selected entry stays selected.
    void order(bool byDate);
    // カメラの時計を合わせる(&K)...: the list's cameras, read now, in a window
    // of their own whose offsets order the list again as they change. It
    // closes when the list is filled again.
    void showClocks(QWidget* parent);
    void closeClocks();
    // When the entry `name` was taken, on its camera's clock put right.
    std::optional<CaptureMoment> takenAt(const std::string& name) const;
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
    // The list holds `names`, with `selected` still selected where it is one
    // of them, quietly.
    void showEntries(std::vector<std::string> names, const std::string& selected);

    ListBox& m_list;
    RenameListView& m_view;
    ProgramValues& m_values;
    FileSystem& m_fileSystem;
    ProgramSettings& m_settings;
    LongWork& m_work;
    RunLong m_runLong;
    QPointer<CameraClocksWindow> m_clocks;
};

} // namespace zanto
