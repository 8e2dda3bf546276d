#pragma once

#include <QWidget>

#include <vector>

class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QAction;
class QFrame;

namespace zanto {

class DriveBox;
class FileSystem;
class FileListBox;
class FolderListBox;
class ListBox;
class NameBox;

// The main window's controls, placed at their fixed positions (given in
// twips, 15 to a pixel), each named as the handlers know it.
struct TolvaForm {
    // The lists read their folders through `fileSystem`.
    TolvaForm(QMainWindow* window, FileSystem& fileSystem);

    // Moves `control` to `position` in the tab order, shifting the others.
    void setTabPosition(QWidget* control, int position);
    // Makes `button` the one Enter presses when the focused control does not use Enter.
    void setDefaultButton(QPushButton* button);
    // The new-name box of simple mode, read-only and disabled until a file is chosen.
    void lockNameBox();
    // Empties the simple-mode name box and its labels and locks the box.
    void clearNamePanel();
    // The name box unlocked and focused, holding `name` to type over.
    void offerName(const QString& name);

    QMainWindow* window;
    QWidget* client;

    QGroupBox* Frame1;
    QPushButton* cmdERASE;
    QPushButton* cmdSITA;
    QPushButton* cmdUE;
    NameBox* txtRENAME;
    QPushButton* cmdOK;
    QPushButton* cmdCLEAR;
    ListBox* List;
    NameBox* Text;
    DriveBox* Drive;
    FolderListBox* Dir;
    QFrame* Picture1;
    QPlainTextEdit* mainTEXT;
    QLabel* Label6;
    QLabel* Label5;
    QLabel* Image1;
    QLabel* Image2;
    FileListBox* File;
    QPushButton* cmd;
    QLabel* Label9;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label1;
    QLabel* Label3;

    QMenu* SETEI;
    QAction* see;
    QMenu* ETC;
    QAction* UNDO;
    QAction* VER;
    QMenu* SETEI2;
    QAction* GOMI;
    // Below a separator, shown for the rename list only: its two orders, and
    // the cameras' clocks that the order by date follows.
    QAction* ORDER_LINE;
    QAction* BYDATE;
    QAction* BYNAME;
    QAction* CLOCKS;
    // Last, below a separator, for the rename list only: one number per shot.
    QAction* SHOTS_LINE;
    QAction* NUMBERING;
    QAction* SHOTS;
    QAction* NEWNAMES;
    QMenu* SETEI3;
    QAction* NO;

    QPushButton* defaultButton = nullptr;

private:
    void applyTabOrder();
    std::vector<QWidget*> m_tabOrder;
};

} // namespace zanto
