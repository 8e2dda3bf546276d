#pragma once

#include "listing/DateOrder.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace zanto {

class CameraClocksModel;

// カメラの時計: the cameras of the rename list, and how far each one's clock
// is put right, typed ("+00:03:12") or worked out from one file of the
// camera and one of another camera taken at the same moment. The offsets
// order the list by date while the window is open and are written nowhere.
class CameraClocksWindow final : public QDialog {
    Q_OBJECT
public:
    CameraClocksWindow(DateOrder order, QWidget* parent);
    ~CameraClocksWindow() override;

    const DateOrder& order() const;
    const ClockOffsets& offsets() const;

signals:
    void offsetsChanged();

private:
    void cameraChosen();
    void setTyped();
    void matchFiles();
    int chosenRow() const;

    CameraClocksModel* m_model;
    QTableView* m_view;
    QLineEdit* m_offset;
    QComboBox* m_mine;
    QComboBox* m_theirs;
    std::vector<std::string> m_mineNames; // the names the two boxes list, in native form
    std::vector<std::string> m_theirNames;
    QLabel* m_note;
};

} // namespace zanto
