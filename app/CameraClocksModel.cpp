#include "CameraClocksModel.h"

#include "Messages.h"
#include "listing/ClockOffsetText.h"

#include <algorithm>
#include <map>

namespace zanto {

CameraClocksModel::CameraClocksModel(DateOrder order, QObject* parent)
    : QAbstractTableModel(parent), m_order(std::move(order)), m_clocks(m_order.cameras())
{
}

int CameraClocksModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_clocks.size());
}

int CameraClocksModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CameraClocksModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CameraClock& clock = m_clocks[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Files)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Camera:
        return messages::cameraName(clock.camera);
    case Serial:
        return QString::fromStdString(clock.camera.id.serial);
    case Files:
        return QString::number(clock.files);
    case First:
        return clock.first ? messages::momentText(*clock.first) : QString();
    case Last:
        return clock.last ? messages::momentText(*clock.last) : QString();
    case Offset:
        return QString::fromStdString(ClockOffsetText::of(offsetAt(index.row())));
    default:
        return {};
    }
}

QVariant CameraClocksModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t* const kTitles[ColumnCount] = {u"カメラ", u"製造番号", u"ファイル数",
                                                         u"最初の撮影", u"最後の撮影", u"時刻の補正"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(kTitles[section]) : QVariant();
}

std::int64_t CameraClocksModel::offsetAt(int row) const
{
    const auto found = m_offsets.find(cameraAt(row));
    return found == m_offsets.end() ? 0 : found->second;
}

void CameraClocksModel::setOffset(int row, std::int64_t seconds)
{
    if (row < 0 || row >= rowCount() || offsetAt(row) == seconds)
        return;
    if (seconds == 0)
        m_offsets.erase(cameraAt(row));
    else
        m_offsets[cameraAt(row)] = seconds;
    // The rows stay where they are; their moments follow the clocks.
    std::map<TripCamera, CameraClock> now;
    for (CameraClock& clock : m_order.cameras(m_offsets))
        now.emplace(clock.camera, std::move(clock));
    for (CameraClock& clock : m_clocks)
        clock = now.at(clock.camera);
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    emit offsetsChanged();
}

} // namespace zanto
