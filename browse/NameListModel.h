#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace zanto {

// Bare file names, kept as native bytes and shown readably. A plain vector
// behind a list model: a folder of 100,000 names fills in one reset.
class NameListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    // The view asks for every row's index while laying out 100,000 entries:
    // answered without the base class's virtual row and column counts.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;

    // Entries may be dragged, and dropped between entries, never onto one.
    void setDraggable(bool draggable) { m_draggable = draggable; }

    // A tool tip shown as the plain text given, whatever markup it looks like.
    static QString plainTip(const QString& text);

    int count() const { return static_cast<int>(m_names.size()); }
    const std::string& at(int row) const { return m_names.at(static_cast<std::size_t>(row)); }
    const std::vector<std::string>& names() const { return m_names; }

    void setNames(std::vector<std::string> names);
    void append(const std::string& name);
    void insert(int row, const std::string& name);
    void removeAt(int row);
    void swap(int first, int second);
    // Takes the entry at `from` out and puts it back at `to`.
    void move(int from, int to);
    void clear();

private:
    std::vector<std::string> m_names;
    bool m_draggable = false;
};

} // namespace zanto
