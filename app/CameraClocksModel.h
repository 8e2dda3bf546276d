#pragma once

#include "listing/DateOrder.h"

#include <QAbstractTableModel>

#include <vector>

namespace zanto {

// The cameras of a rename list, a row each: its name, its body's serial, its
// number of files, its first and last moments and its clock's offset. The
// rows keep their order as offsets change; the moments show each clock put right.
class CameraClocksModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Camera, Serial, Files, First, Last, Offset, ColumnCount };

    CameraClocksModel(DateOrder order, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const DateOrder& order() const { return m_order; }
    const ClockOffsets& offsets() const { return m_offsets; }
    const TripCamera& cameraAt(int row) const { return m_clocks[static_cast<std::size_t>(row)].camera; }
    std::int64_t offsetAt(int row) const;
    void setOffset(int row, std::int64_t seconds);

signals:
    void offsetsChanged();

private:
    DateOrder m_order;
    ClockOffsets m_offsets;
    std::vector<CameraClock> m_clocks;
};

} // namespace zanto
