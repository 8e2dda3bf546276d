#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace zanto {

class ListBox;

// Pointing at an entry of the rename list shows the name the batch would give
// it ("IMG_0412.JPG → 旅行03.jpg") while the base name box holds a usable
// name; with one number per shot, every file of the shot, a line each. Only
// the entry pointed at is named: typing costs nothing.
class NewNameTip final : public QObject {
    Q_OBJECT
public:
    // The folder's names when shots are numbered; none when each file is.
    using ShotFolder = std::function<std::optional<std::vector<std::string>>()>;

    NewNameTip(ListBox& list, QLineEdit& base, ShotFolder shotFolder, QObject* parent);

    // The tip for the entry at `row`; empty when the base name is empty or
    // would be refused, and the entry's own tip is shown instead.
    QString text(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListBox& m_list;
    QLineEdit& m_base;
    ShotFolder m_shotFolder;
};

} // namespace zanto
