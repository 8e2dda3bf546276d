#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace zanto {

class ShellOpener;

// The about box: title, version, the author block, and the ways out to the
// help file beside the program and to the web address.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(ShellOpener& opener, QWidget* parent = nullptr);

    // The help file in the given program folder, with one separator between
    // folder and name even when the folder is the root.
    static QString helpFilePath(const QString& programFolder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CmdOPEN_Click();
    void Label4_Click();
    void showHelpInside();

    ShellOpener& m_opener;
    QPushButton* m_CmdOPEN = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QLabel* m_Label4 = nullptr;
};

} // namespace zanto
