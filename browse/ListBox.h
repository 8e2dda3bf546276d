#pragma once

#include "NameListModel.h"

#include <QListView>

#include <functional>

namespace zanto {

// A list of file names with one selected position (-1 for none), behaving as
// the program's handlers expect of a list box: selecting a position, by the
// user or by the program, reports `selected`; inserting, removing and moving
// entries report nothing. A right-button press selects nothing itself: it
// reports the entry under the pointer, for the window to select it.
class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    int count() const { return m_model->count(); }
    const std::string& item(int row) const { return m_model->at(row); }
    const std::vector<std::string>& items() const { return m_model->names(); }
    // The position of the entry `name`, -1 when none has that name.
    int indexOf(const std::string& name) const;

    // The selected position, -1 for none.
    int listIndex() const;
    // Selects `row` (-1 clears) and runs the selection reaction, also when
    // nothing is left selected.
    void setListIndex(int row);
    // Selects `row` without running the selection reaction.
    void setListIndexQuietly(int row);
    // The selected entry's name, empty when nothing is selected.
    std::string selectedName() const;

    void setItems(std::vector<std::string> names);
    void append(const std::string& name) { m_model->append(name); }
    void removeAt(int row);
    void swap(int first, int second) { m_model->swap(first, second); }
    void move(int from, int to);
    void clear();

    // Lets the user drag an entry to another place within this list. The list
    // does not move it itself: it reports `dragged` with the entry's position
    // and the one it is to take.
    void allowReordering();

    // Keys the handler may consume before the list's own key handling.
    void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { m_keyHandler = std::move(handler); }

signals:
    void selected();
    // `row`: the entry under the pointer, -1 for the empty space below them.
    void mouseDown(Qt::MouseButton button, const QPoint& globalPos, int row);
    void dragged(int from, int to);

protected:
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Lays out at once the rows the batches have not reached yet.
    void layOutRest();

    NameListModel* m_model;
    bool m_quiet = false;
    int m_dragRow = -1; // the entry being dragged, -1 when no drag of ours runs
    std::function<bool(QKeyEvent*)> m_keyHandler;
};

} // namespace zanto
