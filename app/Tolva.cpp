#include "Tolva.h"

#include "BatchRenameCommand.h"
#include "DeleteCommand.h"
#include "FolderNavigator.h"
#include "RenameListController.h"
#include "SingleRenameCommand.h"
#include "UndoCommand.h"
#include "WaitCursor.h"
#include "Messages.h"
#include "Module1.h"
#include "NameBox.h"
#include "NewNameTip.h"
#include "ProgramValues.h"
#include "frmAbout.h"
#include "frmSETEI.h"
#include "browse/DriveBox.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/PreviewArea.h"
#include "rename/FileNameParts.h"
#include "rename/FileSystem.h"
#include "rename/NameRules.h"
#include "rename/PathRule.h"
#include "ui/Messenger.h"
#include "ui/NativeName.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace zanto {

Tolva::Tolva(ProgramValues& values, TolvaServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_values(values)
    , m_services(std::move(services))
    , m_settings(m_services.store)
    , m_form(this, m_services.fileSystem)
    , m_preview(std::make_unique<PreviewArea>(
          PreviewWidgets{m_form.Image1, m_form.Image2, m_form.mainTEXT, m_form.Label5, m_form.Label6},
          m_services.fileSystem, [this] { m_work.keepAlive(); }))
    , m_files(*m_form.File, [this](const MessageRequest& request) { return ask(request); })
    , m_views(m_form, m_values, m_files, *m_preview, m_services.fileSystem)
    , m_delete([this](const MessageRequest& request) { return ask(request); }, m_services.fileSystem)
{
    setObjectName(QStringLiteral("Tolva"));
    const auto asker = [this](const MessageRequest& request) { return ask(request); };
    FileSystem& fs = m_services.fileSystem;
    m_batch = std::make_unique<BatchRenameCommand>(m_views, asker, fs, m_work, m_services.journal);
    m_single = std::make_unique<SingleRenameCommand>(m_views, asker, fs, m_services.journal);
    m_undo = std::make_unique<UndoCommand>(m_views, asker, fs, m_services.journal, *m_batch);
    m_list = std::make_unique<RenameListController>(*m_form.List, m_views, m_values, fs, m_settings, m_work,
                                                    [this](const auto& command) { runLong(command); });
    m_folders = std::make_unique<FolderNavigator>(*m_form.Drive, *m_form.Dir, m_views, *m_preview, asker, [this] {
        m_stopped = true;
        m_services.forcedStop();
    });
    const auto refuse = [this] { ask(messages::forbiddenName()); };
    m_form.Text->setCharFilter(isForbiddenChar, refuse);
    m_form.txtRENAME->setCharFilter(isForbiddenChar, refuse);
    m_form.Drive->reloadVolumes();
    auto* tip = new NewNameTip(*m_form.List, *m_form.txtRENAME, [this] { return m_views.batchOptions(); },
                               [this] { return m_form.Dir->path(); }, m_services.fileSystem, this);
    tip->setObjectName(QStringLiteral("NewNameTip"));
    tip->setTakenLine([this](const std::string& name) {
        const std::optional<CaptureMoment> taken = m_list->takenAt(name);
        return taken ? messages::takenLine(*taken) : QString();
    });
    connectHandlers();
    // The window sees its controls' keys before they do (and no dialog's).
    installEventFilter(this);
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
    setFixedSize(sizeHint());
}

Tolva::~Tolva() = default;

void Tolva::connectHandlers()
{
    TolvaForm& f = m_form;
    connect(f.Drive, &DriveBox::driveChanged, this, [this] { Drive_Change(); });
    connect(f.Dir, &FolderListBox::changed, this, [this] { Dir_Change(); });
    connect(f.Dir, &FolderListBox::selectionMoved, this, [this] { Dir_Click(); });
    connect(f.Dir, &FolderListBox::openFailed, this, [this](const std::string& folder, FsError error) {
        m_folders->openFailed(folder, error);
    });
    // A picture being read keeps the window answering, and a close request
    // then waits for the handler to end.
    connect(f.File, &ListBox::selected, this, [this] { runLong([this] { File_Click(); }); });
    connect(f.File, &ListBox::mouseDown, this, &Tolva::File_MouseDown);
    f.File->setKeyHandler([this](QKeyEvent* event) { return File_KeyDown(event->key()); });
    connect(f.List, &ListBox::selected, this, [this] { runLong([this] { List_Click(); }); });
    connect(f.List, &ListBox::mouseDown, this, &Tolva::List_MouseDown);
    f.List->setKeyHandler([this](QKeyEvent* event) { return List_KeyDown(event->key()); });
    f.List->allowReordering();
    connect(f.List, &ListBox::dragged, this, [this](int from, int to) { m_list->drag(from, to); });
    connect(f.see, &QAction::triggered, this, &Tolva::see_Click);
    connect(f.VER, &QAction::triggered, this, &Tolva::VER_Click);
    connect(f.ETC, &QMenu::aboutToShow, this, [this] { m_form.UNDO->setEnabled(m_undo->available()); });
    connect(f.UNDO, &QAction::triggered, this, [this] { runLong([this] { m_undo->run(); }); });
    connect(f.GOMI, &QAction::triggered, this, &Tolva::GOMI_Click);
    connect(f.BYDATE, &QAction::triggered, this, [this] { m_list->order(true); });
    connect(f.BYNAME, &QAction::triggered, this, [this] { m_list->order(false); });
    connect(f.CLOCKS, &QAction::triggered, this, [this] { m_list->showClocks(this); });
    connect(f.NUMBERING, &QAction::triggered, this, [this] { m_list->chooseNumbering(this); });
    connect(f.NEWNAMES, &QAction::triggered, this, [this] { runLong([this] { m_batch->showNewNames(); }); });
    connect(f.SHOTS, &QAction::toggled, this, [this](bool on) { m_list->setShots(on); });
    connect(f.Text, &QLineEdit::textChanged, this, [this] { Text_Change(); });
    connect(f.Text, &NameBox::gotFocus, this, [this] { Text_GotFocus(); });
    connect(f.cmd, &QPushButton::clicked, this, [this] { cmd_Click(); });
    connect(f.cmdCLEAR, &QPushButton::clicked, this, [this] { cmdCLEAR_Click(); });
    connect(f.cmdUE, &QPushButton::clicked, this, [this] { cmdUE_Click(); });
    connect(f.cmdSITA, &QPushButton::clicked, this, [this] { cmdSITA_Click(); });
    connect(f.cmdERASE, &QPushButton::clicked, this, [this] { cmdERASE_Click(); });
    connect(f.cmdOK, &QPushButton::clicked, this, &Tolva::cmdOK_Click);
}

MsgAnswer Tolva::ask(const MessageRequest& request)
{
    return m_services.messenger.show(this, request);
}

// ---- start-up, mode, caption, closing ----

void Tolva::Form_Load(const QString& startPath)
{
    m_values.NOW_MODE = m_settings.mode();
    m_values.EXT_LIST = m_settings.patterns();
    if (m_values.EXT_LIST.isEmpty())
        frmSETEI::openAtFirstRun(m_values, m_settings, m_services.messenger, *this, this);
    m_files.setPattern(m_values.EXT_LIST);
    m_fields.LAST_DIR = m_settings.folder();
    m_list->restoreShots();

    const std::optional<StartTarget> start = m_folders->usableTarget(startPath);
    const FsError restored = m_form.Dir->setPath(start ? start->folder : m_fields.LAST_DIR);
    // A remembered folder that is gone, or any other failure before a folder
    // was shown: the folder list starts on its own starting folder.
    if (restored == FsError::PathNotFound || m_form.Dir->path().empty())
        m_form.Dir->setPath({});
    // The drive selector shows the volume of the folder shown, whichever it is.
    m_form.Drive->selectDriveFor(m_form.Dir->path());
    if (m_stopped)
        return;

    if (m_values.NOW_MODE.isSimple())
        TANJUN();
    else
        RENZOKU();
    if (start && restored == FsError::None)
        m_folders->selectFile(start->file, !isSimpleMode());
}

void Tolva::openRequested(const QString& path)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    m_folders->open(path, !isSimpleMode());
}

void Tolva::Form_Resize()
{
    setWindowTitle(Module1::modeCaption(m_values, isMinimized()));
}

void Tolva::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Tolva::closeEvent(QCloseEvent* event)
{
    if (m_work.running()) {
        m_work.holdClose();
        event->ignore();
        return;
    }
    if (!m_stopped) {
        m_fields.LAST_DIR = m_form.Dir->path();
        m_settings.storeFolder(m_fields.LAST_DIR);
    }
    event->accept();
}

// ---- keys ----

bool Tolva::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);

    if (type == QEvent::MouseButtonPress) {
        if (widget == m_form.mainTEXT->viewport()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            mainTEXT_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        }
        return QMainWindow::eventFilter(watched, event);
    }
    // A key reaches the focused control first; a key its control ignores
    // travels on to the parents, and must not be handled twice.
    const QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr ? widget != focus : (widget == this || widget == m_form.client))
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
        return pressDefaultButton(widget);
    if (type == QEvent::KeyRelease && !key->isAutoRepeat())
        Form_KeyUp(key->key());
    return QMainWindow::eventFilter(watched, event);
}

bool Tolva::pressDefaultButton(QWidget* focused)
{
    if (auto* button = qobject_cast<QPushButton*>(focused)) {
        button->click();
        return true;
    }
    // The folder list opens the chosen folder on Enter.
    if (focused == m_form.Dir)
        return false;
    QPushButton* button = m_form.defaultButton;
    if (button == nullptr || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

void Tolva::Form_KeyUp(int key)
{
    if (!isSimpleMode())
        return;
    FileListBox& file = *m_form.File;
    if (key == Qt::Key_Down) {
        const int count = file.count();
        if (count == 0)
            return;
        m_form.lockNameBox();
        const int i = file.listIndex();
        const int target = i == count - 1 ? 0 : i + 1;
        m_files.rereadIfChanged();
        file.setListIndex(target < file.count() ? target : -1);
        const QString shown = QLatin1Char(' ') + m_form.Text->text();
        m_form.Label1->setText(shown);
        m_form.Label2->setText(shown);
    } else if (key == Qt::Key_Up) {
        const int i = file.listIndex();
        if (i < 0)
            return;
        file.setListIndex(i == 0 ? file.count() - 1 : i - 1);
        m_form.Text->setSelection(0, static_cast<int>(displayName(file.selectedName()).size()));
    }
}

bool Tolva::File_KeyDown(int key)
{
    // In simple mode the window steps through the files when the key is
    // released; the list's own stepping would move twice.
    return isSimpleMode() && (key == Qt::Key_Up || key == Qt::Key_Down);
}

// ---- folders ----

// ---- preview ----

void Tolva::File_Click()
{
    if (!isSimpleMode())
        return;
    const std::string name = m_form.File->selectedName();
    if (name.empty())
        m_form.Text->clear();
    const PreviewOutcome outcome = previewEntry(name, [this](const QString& offered) { m_form.offerName(offered); });
    if (extensionOf(name).empty() || outcome == PreviewOutcome::FileNotFound)
        return;
    // Once this selection has settled, the file Down steps to is decoded ahead.
    QTimer::singleShot(0, this, [this] {
        const FileListBox& file = *m_form.File;
        if (!isSimpleMode() || file.listIndex() < 0)
            return;
        const std::string next = file.item((file.listIndex() + 1) % file.count());
        m_preview->prefetch(joinPath(m_form.Dir->path(), next), next);
    });
}

void Tolva::List_Click()
{
    previewEntry(m_form.List->selectedName(), [](const QString&) {});
}

PreviewOutcome Tolva::previewEntry(const std::string& name, const std::function<void(const QString&)>& offer)
{
    // Nothing selected: the empty area, and no file to remember.
    if (name.empty())
        return m_preview->preview({}, name);
    m_fields.SEL_PATH = joinPath(m_form.Dir->path(), name);
    m_fields.SEL_EXT = extensionOf(name);
    if (m_fields.SEL_EXT.empty()) {
        offer(displayName(name));
        return KOMA();
    }
    const PreviewOutcome outcome = m_preview->preview(m_fields.SEL_PATH, name);
    if (outcome == PreviewOutcome::FileNotFound || outcome == PreviewOutcome::InvalidPicture)
        previewFailed(outcome);
    if (outcome != PreviewOutcome::FileNotFound)
        offer(displayName(stemOf(name)));
    return outcome;
}

PreviewOutcome Tolva::KOMA()
{
    m_fields.SEL_EXT.clear();
    const PreviewOutcome outcome = m_preview->showFileFacts(m_fields.SEL_PATH);
    if (outcome == PreviewOutcome::FileNotFound)
        previewFailed(outcome);
    return outcome;
}

void Tolva::previewFailed(PreviewOutcome outcome)
{
    if (outcome == PreviewOutcome::InvalidPicture) {
        ask(messages::invalidPicture());
        m_preview->showPlaceholder();
        return;
    }
    // The file vanished since the folder was read: show the folder as it is now.
    ask(messages::fileMissing());
    FileListBox& file = *m_form.File;
    const int row = file.listIndex();
    m_files.reread();
    if (row >= 0 && row < file.count())
        file.setListIndex(row);
}

// ---- rename list, batch ----

void Tolva::RELOAD_LIST()
{
    m_list->reload();
}

void Tolva::cmdOK_Click()
{
    runLong([this] { m_batch->run(); });
}

void Tolva::runLong(const std::function<void()>& command)
{
    if (m_work.run(command))
        close();
}

// ---- pop-up menus, deletion ----

void Tolva::File_MouseDown(Qt::MouseButton button, const QPoint& globalPos, int row)
{
    if (button == Qt::RightButton)
        popupFileMenu(*m_form.File, row, globalPos, false);
}

void Tolva::List_MouseDown(Qt::MouseButton button, const QPoint& globalPos, int row)
{
    if (button == Qt::RightButton)
        popupFileMenu(*m_form.List, row, globalPos, !isSimpleMode());
}

void Tolva::popupFileMenu(ListBox& box, int row, const QPoint& globalPos, bool withOrders)
{
    if (row >= 0 && row != box.listIndex())
        box.setListIndex(row);
    m_form.GOMI->setEnabled(row >= 0);
    for (QAction* action :
         {m_form.ORDER_LINE, m_form.BYDATE, m_form.BYNAME, m_form.CLOCKS, m_form.SHOTS_LINE, m_form.NUMBERING,
          m_form.SHOTS, m_form.NEWNAMES})
        action->setVisible(withOrders);
    m_form.SETEI2->popup(globalPos);
}

void Tolva::mainTEXT_MouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        m_form.SETEI3->popup(globalPos);
}

void Tolva::GOMI_Click()
{
    KILLER();
}

void Tolva::KILLER()
{
    TolvaForm& f = m_form;
    const bool simple = isSimpleMode();
    const ListBox& source = simple ? static_cast<const ListBox&>(*f.File) : *f.List;
    const std::string name = source.selectedName();
    if (name.empty())
        return;
    const DeleteOutcome outcome = m_delete.deleteFile(f.Dir->path(), name, source.items(), m_values.shots,
                                                        m_views.shotLinks());
    if (outcome == DeleteOutcome::Kept)
        return;
    m_files.reread();
    if (outcome == DeleteOutcome::PartlyDeleted)
        return;
    // The preview no longer shows the file; the rename list loses that entry
    // only, keeping the user's order and removals, and selects none, so that
    // a following × takes nothing out unasked.
    m_preview->preview({}, {});
    if (simple) {
        m_form.clearNamePanel();
        RELOAD_LIST();
    } else {
        m_views.removeEntry(name);
        f.List->setListIndexQuietly(-1);
    }
}

// ---- dialogs ----

void Tolva::see_Click()
{
    frmSETEI::openFromMenu(m_values, m_settings, m_services.messenger, *this, this);
}

void Tolva::VER_Click()
{
    frmAbout dialog(m_services.shell, this);
    dialog.exec();
}

// ---- what the settings dialog does here ----

void Tolva::setFilePattern(const QString& pattern)
{
    m_files.setPattern(pattern);
}

void Tolva::applyFilterChange(const QString& pattern)
{
    TolvaForm& f = m_form;
    m_files.setPattern(pattern);
    m_preview->reset();
    m_form.clearNamePanel();
    f.List->clear();
    f.File->setListIndexQuietly(-1);
    RELOAD_LIST();
}

void Tolva::applyModeChange()
{
    TolvaForm& f = m_form;
    m_files.reread();
    if (m_values.NOW_MODE.isContinuousLayout()) {
        f.List->setListIndex(-1);
        RELOAD_LIST();
        return;
    }
    f.File->setListIndex(-1);
    m_form.clearNamePanel();
    Module1::HIDEMSG(*m_preview);
}

} // namespace zanto
