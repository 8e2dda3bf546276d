#pragma once

#include "rename/NewNameTable.h"

#include <QDialog>

#include <functional>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace zanto {

class NewNamesModel;

// 新しい名前の一覧: every name the run gives, before anything moves, with a
// mark and its reason where something needs a look. Files of the same
// content are looked for only when asked (it reads them whole).
class NewNamesWindow final : public QDialog {
    Q_OBJECT
public:
    // Marks the table's files of the same content, keeping the window answering.
    using SameContentSearch = std::function<void(NewNameTable&)>;

    NewNamesWindow(NewNameTable table, SameContentSearch search, QWidget* parent);
    ~NewNamesWindow() override;

private:
    void findSameContent();

    SameContentSearch m_search;
    QLabel* m_summary;
    NewNamesModel* m_model;
    QSortFilterProxyModel* m_shown;
    QTableView* m_view;
};

} // namespace zanto
