#pragma once

#include "rename/NewNameTable.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <functional>

namespace zanto {

// The table of new names as a model: a row per shot (per file without
// shots), read from the table as it is; no item is made per row.
class NewNamesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, OldNames, NewNames, Marks, ColumnCount };
    // True for a row with a mark, for filtering.
    static constexpr int MarkedRole = Qt::UserRole + 1;

    explicit NewNamesModel(NewNameTable table, QObject* parent = nullptr);

    const NewNameTable& table() const { return m_table; }
    // Marks the table through `change`, and tells the views.
    void mark(const std::function<void(NewNameTable&)>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    NewNameTable m_table;
    const QIcon m_warning;
};

} // namespace zanto
