#include "ListBox.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zanto {

namespace {

// Rows laid out at a time: far more than a list shows, few enough that a
// folder of 100,000 files is shown before all of its rows have their places.
constexpr int kRowsPerBatch = 4096;

} // namespace

ListBox::ListBox(QWidget* parent)
    : QListView(parent)
    , m_model(new NameListModel(this))
{
    setModel(m_model);
    // Uniform rows let the view size 100,000 entries without measuring each.
    setUniformItemSizes(true);
    // The rest follows while the window runs, a batch at each turn.
    setLayoutMode(QListView::Batched);
    setBatchSize(kRowsPerBatch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Rows removed or a model reset move the selection too; only a change the
    // user made (click, the list's own keys) is a selection.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet && listIndex() >= 0)
            emit selected();
    });
}

int ListBox::indexOf(const std::string& name) const
{
    const auto& names = items();
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int ListBox::listIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::setListIndexQuietly(int row)
{
    m_quiet = true;
    if (row < 0 || row >= count()) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_model->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_quiet = false;
}

void ListBox::setListIndex(int row)
{
    setListIndexQuietly(row);
    // Clearing the selection runs the reaction too, with nothing selected.
    emit selected();
}

std::string ListBox::selectedName() const
{
    const int row = listIndex();
    return row < 0 ? std::string() : item(row);
}

void ListBox::layOutRest()
{
    if (count() == 0 || !rectForIndex(m_model->index(count() - 1)).isEmpty())
        return;
    setLayoutMode(QListView::SinglePass);
    doItemsLayout();
    setLayoutMode(QListView::Batched);
}

void ListBox::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // A row the batches have not reached has no place yet to scroll to.
    if (index.isValid() && rectForIndex(index).isEmpty())
        layOutRest();
    QListView::scrollTo(index, hint);
}

void ListBox::setItems(std::vector<std::string> names)
{
    m_quiet = true;
    m_model->setNames(std::move(names));
    m_quiet = false;
}

void ListBox::removeAt(int row)
{
    m_quiet = true;
    m_model->removeAt(row);
    m_quiet = false;
}

void ListBox::move(int from, int to)
{
    m_quiet = true;
    m_model->move(from, to);
    m_quiet = false;
}

void ListBox::clear()
{
    setItems({});
}

void ListBox::allowReordering()
{
    // Only drags that started here are taken in.
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDragDropOverwriteMode(false);
    m_model->setDraggable(true);
}

void ListBox::startDrag(Qt::DropActions)
{
    const int row = listIndex();
    if (row < 0)
        return;
    // Not the view's own drag: a move it ends would remove the entry itself.
    auto* drag = new QDrag(this);
    drag->setMimeData(m_model->mimeData({m_model->index(row)}));
    m_dragRow = row;
    drag->exec(Qt::MoveAction);
    m_dragRow = -1;
}

void ListBox::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (event->source() != this || m_dragRow < 0) {
        event->ignore();
        return;
    }
    // Dropped on the lower half of an entry: after it; below the last: at the end.
    const QPoint at = event->position().toPoint();
    const QModelIndex index = indexAt(at);
    int before = count();
    if (index.isValid())
        before = index.row() + (at.y() >= visualRect(index).center().y() ? 1 : 0);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    emit dragged(m_dragRow, before > m_dragRow ? before - 1 : before);
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex under = indexAt(event->position().toPoint());
    emit mouseDown(event->button(), event->globalPosition().toPoint(), under.isValid() ? under.row() : -1);
    if (event->button() == Qt::LeftButton)
        QListView::mousePressEvent(event);
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    if (m_keyHandler && m_keyHandler(event)) {
        event->accept();
        return;
    }
    // The view's own keys (End, Page Down) move by the rows' places.
    layOutRest();
    QListView::keyPressEvent(event);
}

} // namespace zanto
