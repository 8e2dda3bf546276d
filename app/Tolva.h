#pragma once

#include "CommandLine.h"
#include "FileListReader.h"
#include "FolderNavigator.h"
#include "FormViews.h"
#include "LongWork.h"
#include "Module1.h"
#include "ProgramSettings.h"
#include "ProgramValues.h"
#include "RenameListController.h"
#include "SettingsHost.h"
#include "DeleteCommand.h"
#include "SingleRenameCommand.h"
#include "TolvaForm.h"
#include "WindowFields.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

namespace zanto {

class BatchJournal;
class BatchRenameCommand;
class UndoCommand;
class FileSystem;
enum class FsError : int;
class Messenger;
class PreviewArea;
enum class PreviewOutcome;
class SettingsStore;
class ShellOpener;
struct MessageRequest;
struct ProgramValues;
enum class MsgAnswer : int;

// The services the main window works through; tests hand in their own.
struct TolvaServices {
    SettingsStore& store;
    Messenger& messenger;
    FileSystem& fileSystem;
    ShellOpener& shell;
    // Ends the program at once, storing nothing.
    std::function<void()> forcedStop;
    // Where batches are journaled and the last one recorded for undo; none: unrecorded.
    BatchJournal* journal = nullptr;
};

// The main window. Its handlers keep the names the program's documents use
// (docs/names.md); each forwards to the object that does the work: the
// commands, the rename list's controller, the folder navigator, the preview.
class Tolva final : public QMainWindow, public SettingsHost {
    Q_OBJECT
public:
    Tolva(ProgramValues& values, TolvaServices services, QWidget* parent = nullptr);
    ~Tolva() override;

    // Start-up before the window appears: read the settings (opening the
    // settings dialog on a first run), restore the folder, lay out the mode.
    // A `startPath` (a folder, or a file in one) is opened instead of the
    // remembered folder.
    void Form_Load(const QString& startPath = {});

    // A later start of the program asked for `path` (empty: none): open it
    // as a folder change does, and come to the front.
    void openRequested(const QString& path);

    // SettingsHost
    void RENZOKU() override { Module1::RENZOKU(m_form, m_values); }
    void TANJUN() override { Module1::TANJUN(m_form, m_values); }
    void applyFilterChange(const QString& pattern) override;
    void applyModeChange() override;
    void setFilePattern(const QString& pattern) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    MsgAnswer ask(const MessageRequest& request);
    bool isSimpleMode() const { return m_values.NOW_MODE.isSimple(); }

    void File_Click();
    void List_Click();
    void RELOAD_LIST();
    void KILLER();
    void Form_Resize();
    void File_MouseDown(Qt::MouseButton button, const QPoint& globalPos, int row);
    void List_MouseDown(Qt::MouseButton button, const QPoint& globalPos, int row);
    void Form_KeyUp(int key);
    bool File_KeyDown(int key);
    void see_Click();
    void VER_Click();
    void GOMI_Click();
    void mainTEXT_MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    PreviewOutcome KOMA();
    // What both lists do with the entry `name` chosen (empty: none): it is
    // remembered and previewed. `offer` gets the name to type over in simple
    // mode: before a file without extension is shown, after any other file.
    PreviewOutcome previewEntry(const std::string& name, const std::function<void(const QString&)>& offer);
    void previewFailed(PreviewOutcome outcome);
    // The handlers that only forward.
    void Drive_Change() { m_folders->driveChanged(); }
    void Dir_Change()
    {
        m_list->closeClocks(); // its cameras are another folder's
        m_folders->folderChanged();
    }
    void Dir_Click() { m_folders->folderSelectionMoved(); }
    void cmdCLEAR_Click() { m_list->refresh(); }
    void cmdUE_Click() { m_list->moveUp(); }
    void cmdSITA_Click() { m_list->moveDown(); }
    void cmdERASE_Click() { m_list->erase(); }
    bool List_KeyDown(int key) { return m_list->keyDown(key); }
    void Text_Change() { m_single->showNames(); }
    void Text_GotFocus() { m_single->selectWholeName(); }
    void cmd_Click() { m_single->renameSelected(); }
    void cmdOK_Click();
    // A command that may take long; a close asked for meanwhile follows it.
    void runLong(const std::function<void()>& command);
    // The lists' menu for the entry at `row` of `box`, selected first as a
    // click selects it, so that 削除 deletes the file pointed at; -1: the
    // menu with 削除 disabled.
    void popupFileMenu(ListBox& box, int row, const QPoint& globalPos, bool withOrders);

    bool pressDefaultButton(QWidget* focused);

    ProgramValues& m_values;
    TolvaServices m_services;
    ProgramSettings m_settings;
    TolvaForm m_form;
    WindowFields m_fields;
    LongWork m_work;
    std::unique_ptr<PreviewArea> m_preview;
    FileListReader m_files;
    FormViews m_views;
    DeleteCommand m_delete;
    std::unique_ptr<RenameListController> m_list;
    std::unique_ptr<FolderNavigator> m_folders;
    std::unique_ptr<BatchRenameCommand> m_batch;
    std::unique_ptr<SingleRenameCommand> m_single;
    std::unique_ptr<UndoCommand> m_undo;
    bool m_stopped = false;
};

} // namespace zanto
