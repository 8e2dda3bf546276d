#include "RenameListController.h"

#include "CameraClocksWindow.h"
#include "LongWork.h"
#include "NumberingDialog.h"
#include "ProgramSettings.h"
#include "ProgramValues.h"
#include "RenameListView.h"
#include "WaitCursor.h"
#include "browse/ListBox.h"
#include "listing/CaptureTime.h"
#include "listing/DateOrder.h"
#include "listing/NaturalOrder.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ReadableFile.h"
#include "rename/RenameList.h"
#include "rename/ShotGroups.h"
#include "ui/NativeName.h"

namespace zanto {

RenameListController::RenameListController(ListBox& list, RenameListView& view, ProgramValues& values,
                                           FileSystem& fileSystem, ProgramSettings& settings, LongWork& work,
                                           RunLong runLong)
    : m_list(list)
    , m_view(view)
    , m_values(values)
    , m_fileSystem(fileSystem)
    , m_settings(settings)
    , m_work(work)
    , m_runLong(std::move(runLong))
{
}

RenameList RenameListController::state() const
{
    return {m_list.count(), m_list.listIndex()};
}

void RenameListController::apply(const ListChange& change)
{
    switch (change.edit) {
    case ListChange::Edit::None:
        break;
    case ListChange::Edit::Swap:
        m_list.swap(change.at, change.at + 1);
        break;
    case ListChange::Edit::Remove:
        m_list.removeAt(change.at);
        break;
    case ListChange::Edit::Reload:
        reload();
        break;
    case ListChange::Edit::Move:
        m_list.move(change.at, change.select);
        break;
    }
    if (change.react)
        m_list.setListIndex(change.select);
    else
        m_list.setListIndexQuietly(change.select);
}

void RenameListController::reload()
{
    closeClocks();
    m_view.refillList();
}

void RenameListController::showEntries(std::vector<std::string> names, const std::string& selected)
{
    m_list.setItems(std::move(names));
    m_list.setListIndexQuietly(m_list.indexOf(selected));
}

void RenameListController::restoreShots()
{
    m_values.shots = m_settings.shots();
    m_view.showShotsChoice(m_values.shots);
}

void RenameListController::chooseNumbering(QWidget* parent)
{
    NumberingDialog dialog(m_values.numbering, [this] {
        std::vector<std::string> names;
        const bool read = m_fileSystem.listNames(m_view.folder(), names) == FsError::None;
        return read ? seriesEnd(names, nativeName(m_view.baseName()), unicodeKey) : std::nullopt;
    }, parent);
    if (dialog.exec() == QDialog::Accepted)
        m_values.numbering = dialog.numbering();
}

void RenameListController::setShots(bool on)
{
    m_values.shots = on;
    m_settings.storeShots(on);
    if (!on) {
        reload();
        return;
    }
    showEntries(shotHeads(m_list.items(), caseFoldedKey, m_view.shotLinks()), m_list.selectedName());
}

void RenameListController::moveUp()
{
    apply(state().moveUp());
}

void RenameListController::moveDown()
{
    apply(state().moveDown());
}

void RenameListController::erase()
{
    apply(state().erase());
}

void RenameListController::refresh()
{
    closeClocks();
    m_list.clear();
    m_view.rereadFiles();
    apply(state().refresh());
    m_view.forgetShownFile();
    m_view.clearBaseName();
}

bool RenameListController::keyDown(int key)
{
    if (!m_values.NOW_MODE.isContinuous() || (key != Qt::Key_Down && key != Qt::Key_Up))
        return false;
    apply(key == Qt::Key_Down ? state().keyDown() : state().keyUp());
    return true;
}

void RenameListController::drag(int from, int to)
{
    apply(state().moveTo(from, to));
}

void RenameListController::order(bool byDate)
{
    const std::string selected = m_list.selectedName();
    std::vector<std::string> names = m_list.items();
    if (byDate) {
        m_runLong([&] {
            WaitCursor waiting;
            DateOrder::sort(m_view.folder(), names, m_fileSystem, [this] { m_work.keepAlive(); },
                            m_clocks ? m_clocks->offsets() : ClockOffsets());
        });
    } else {
        sortNaturally(names);
    }
    showEntries(std::move(names), selected);
}

void RenameListController::showClocks(QWidget* parent)
{
    if (m_clocks) {
        m_clocks->raise();
        m_clocks->activateWindow();
        return;
    }
    std::optional<DateOrder> read;
    m_runLong([&] {
        WaitCursor waiting;
        read.emplace(m_view.folder(), m_list.items(), m_fileSystem, [this] { m_work.keepAlive(); });
    });
    if (!read)
        return;
    auto* window = new CameraClocksWindow(std::move(*read), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &CameraClocksWindow::offsetsChanged, window, [this] { order(true); });
    m_clocks = window;
    window->show();
}

void RenameListController::closeClocks()
{
    if (m_clocks)
        m_clocks->close();
}

std::optional<CaptureMoment> RenameListController::takenAt(const std::string& name) const
{
    if (m_clocks && m_clocks->order().cameraOf(name))
        return m_clocks->order().momentOf(name, m_clocks->offsets());
    std::unique_ptr<ReadableFile> file;
    if (m_fileSystem.openFile(joinPath(m_view.folder(), name), file) != FsError::None || !file)
        return std::nullopt;
    return CaptureTime::of(*file);
}

} // namespace zanto
