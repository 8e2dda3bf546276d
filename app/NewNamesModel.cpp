#include "NewNamesModel.h"

#include "Messages.h"
#include "ui/NativeName.h"

#include <QApplication>
#include <QStyle>

namespace zanto {

namespace {

QString joined(const std::vector<std::string>& names, const QString& separator)
{
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        shown << displayName(name);
    return shown.join(separator);
}

} // namespace

NewNamesModel::NewNamesModel(NewNameTable table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(std::move(table))
    , m_warning(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

int NewNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_table.rows.size());
}

int NewNamesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant NewNamesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const NewNameRow& row = m_table.rows[static_cast<std::size_t>(index.row())];
    if (role == MarkedRole)
        return row.marks.any();
    if (role == Qt::DecorationRole)
        return index.column() == Marks && row.marks.any() ? QVariant(m_warning) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const bool display = role == Qt::DisplayRole;
    // The files of a shot on one line in the table, one per line in the tip.
    const QString separator = display ? QStringLiteral(" ＋ ") : QStringLiteral("\n");
    switch (static_cast<Column>(index.column())) {
    case Number: return QString::fromStdString(row.number);
    case OldNames: return joined(row.oldNames, separator);
    case NewNames: return joined(row.newNames, separator);
    case Marks: return messages::markReasons(row, m_table.shots).join(display ? QStringLiteral(" ") : QStringLiteral("\n"));
    case ColumnCount: break;
    }
    return {};
}

QVariant NewNamesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (static_cast<Column>(section)) {
    case Number: return QStringLiteral("番号");
    case OldNames: return QStringLiteral("今の名前");
    case NewNames: return QStringLiteral("新しい名前");
    case Marks: return QStringLiteral("注意");
    case ColumnCount: break;
    }
    return {};
}

void NewNamesModel::mark(const std::function<void(NewNameTable&)>& change)
{
    change(m_table);
    if (!m_table.rows.empty())
        emit dataChanged(index(0, Marks), index(rowCount() - 1, Marks));
}

} // namespace zanto
