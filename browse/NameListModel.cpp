#include "NameListModel.h"

#include "ui/NativeName.h"

#include <utility>

namespace zanto {

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return displayName(at(index.row()));
    // A tool tip that looks like markup is shown as markup; the name is
    // escaped inside a paragraph that keeps it on one line.
    if (role == Qt::ToolTipRole)
        return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(displayName(at(index.row())).toHtmlEscaped());
    return {};
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

void NameListModel::clear()
{
    setNames({});
}

} // namespace zanto
