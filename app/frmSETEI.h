#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zanto {

class Messenger;
class SettingsHost;
class ProgramSettings;
struct ProgramValues;

// The settings dialog: the rename mode and the list of extensions the file
// list shows. Built afresh for each opening; whichever way it closes (メインへ
// or the close box) the list and the mode are stored and the filter is
// applied to the main window.
class frmSETEI final : public QDialog {
    Q_OBJECT

public:
    frmSETEI(ProgramValues& values, ProgramSettings& settings, Messenger& messenger, SettingsHost& host,
             QWidget* parent = nullptr);

    // Appends an entry to the list before the dialog is shown. Entries past
    // the list's bound are dropped, as the stored form cannot carry them.
    void addPattern(const QString& pattern);

    // The menu item 変更(&K)...: the stored list, split into a fresh dialog,
    // shown modally. EXT_LIST stays empty until the dialog closes.
    static void openFromMenu(ProgramValues& values, ProgramSettings& settings, Messenger& messenger,
                             SettingsHost& host, QWidget* parent);

    // Start-up without a stored list: a fresh dialog preset with "*.jpg".
    static void openAtFirstRun(ProgramValues& values, ProgramSettings& settings, Messenger& messenger,
                               SettingsHost& host, QWidget* parent);

    // The stored text in the dialog's order, and back.
    static QStringList splitStored(const QString& stored);
    static QString joinPatterns(const QStringList& patterns);

    // Every way of closing ends here; the unload runs once, before the close.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void VANTO();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    bool Text1_KeyPress(const QKeyEvent& key);
    // The notice for a refused character; the box starts over empty.
    void refuseText1();

    QStringList patterns() const;
    void caution(const QString& text);

    ProgramValues& m_values;
    ProgramSettings& m_settings;
    Messenger& m_messenger;
    SettingsHost& m_host;
    bool m_filterApplied = false; // by メインへ
    bool m_unloaded = false;

    QRadioButton* m_Option0 = nullptr;
    QRadioButton* m_Option1 = nullptr;
    QListWidget* m_List1 = nullptr;
    QLineEdit* m_Text1 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QPushButton* m_Command2 = nullptr;
    QPushButton* m_Command3 = nullptr;
};

} // namespace zanto
