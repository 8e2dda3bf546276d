#include "NameListModel.h"

#include "rename/RenameList.h"
#include "ui/NativeName.h"

#include <utility>

namespace zanto {

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QModelIndex NameListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || row >= count() || column != 0 || parent.isValid())
        return {};
    return createIndex(row, column);
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return displayName(at(index.row()));
    if (role == Qt::ToolTipRole)
        return plainTip(displayName(at(index.row())));
    return {};
}

QString NameListModel::plainTip(const QString& text)
{
    // A tool tip that looks like markup is shown as markup; the text is
    // escaped inside a paragraph that keeps it on one line.
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

Qt::ItemFlags NameListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (m_draggable)
        flags |= index.isValid() ? Qt::ItemIsDragEnabled : Qt::ItemIsDropEnabled;
    return flags;
}

Qt::DropActions NameListModel::supportedDropActions() const
{
    return m_draggable ? Qt::MoveAction : Qt::IgnoreAction;
}

void NameListModel::setNames(std::vector<std::string> names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

void NameListModel::append(const std::string& name)
{
    insert(count(), name);
}

void NameListModel::insert(int row, const std::string& name)
{
    beginInsertRows({}, row, row);
    m_names.insert(m_names.begin() + row, name);
    endInsertRows();
}

void NameListModel::removeAt(int row)
{
    beginRemoveRows({}, row, row);
    m_names.erase(m_names.begin() + row);
    endRemoveRows();
}

void NameListModel::swap(int first, int second)
{
    std::swap(m_names.at(static_cast<std::size_t>(first)), m_names.at(static_cast<std::size_t>(second)));
    emit dataChanged(index(std::min(first, second)), index(std::max(first, second)), {Qt::DisplayRole});
}

void NameListModel::move(int from, int to)
{
    // The view's destination is the row the entry goes before, counted before it leaves.
    if (!beginMoveRows({}, from, from, {}, to > from ? to + 1 : to))
        return;
    RenameList::apply({ListChange::Edit::Move, from, to, false}, m_names, {});
    endMoveRows();
}

void NameListModel::clear()
{
    setNames({});
}

} // namespace zanto
