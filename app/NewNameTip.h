#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace zanto {

class ListBox;

// Pointing at an entry of the rename list shows the name the batch would give
// it ("IMG_0412.JPG → 旅行03.jpg") while the base name box holds a usable
// name. Only the entry pointed at is named: typing costs nothing.
class NewNameTip final : public QObject {
    Q_OBJECT
public:
    NewNameTip(ListBox& list, QLineEdit& base, QObject* parent);

    // The tip for the entry at `row`; empty when the base name is empty or
    // would be refused, and the entry's own tip is shown instead.
    QString text(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListBox& m_list;
    QLineEdit& m_base;
};

} // namespace zanto
