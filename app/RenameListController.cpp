#include "RenameListController.h"

#include "LongWork.h"
#include "NumberingDialog.h"
#include "NameBox.h"
#include "ProgramSettings.h"
#include "ProgramValues.h"
#include "TolvaForm.h"
#include "WaitCursor.h"
#include "listing/DateOrder.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "listing/NaturalOrder.h"
#include "rename/RenameList.h"
#include "rename/ShotGroups.h"
#include "ui/NativeName.h"

#include <QAction>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace zanto {

RenameListController::RenameListController(TolvaForm& form, ProgramValues& values, FileSystem& fileSystem,
                                           ProgramSettings& settings, LongWork& work, RunLong runLong)
    : m_form(form)
    , m_values(values)
    , m_fileSystem(fileSystem)
    , m_settings(settings)
    , m_work(work)
    , m_runLong(std::move(runLong))
{
}

RenameList RenameListController::state() const
{
    return {m_form.List->count(), m_form.List->listIndex()};
}

void RenameListController::apply(const ListChange& change)
{
    ListBox& list = *m_form.List;
    switch (change.edit) {
    case ListChange::Edit::None:
        break;
    case ListChange::Edit::Swap:
        list.swap(change.at, change.at + 1);
        break;
    case ListChange::Edit::Remove:
        list.removeAt(change.at);
        break;
    case ListChange::Edit::Reload:
        reload();
        break;
    case ListChange::Edit::Move:
        list.move(change.at, change.select);
        break;
    }
    if (change.react)
        list.setListIndex(change.select);
    else
        list.setListIndexQuietly(change.select);
}

void RenameListController::reload()
{
    m_form.List->setItems(m_values.shots ? shotHeads(m_form.File->items()) : m_form.File->items());
}

void RenameListController::restoreShots()
{
    m_values.shots = m_settings.shots();
    const QSignalBlocker quiet(m_form.SHOTS);
    m_form.SHOTS->setChecked(m_values.shots);
}

void RenameListController::chooseNumbering(QWidget* parent)
{
    NumberingDialog dialog(m_values.numbering, [this] {
        std::vector<std::string> names;
        const bool read = m_fileSystem.listNames(m_form.Dir->path(), names) == FsError::None;
        return read ? seriesEnd(names, nativeName(m_form.txtRENAME->text())) : std::nullopt;
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
    ListBox& list = *m_form.List;
    const std::string selected = list.selectedName();
    std::vector<std::string> heads = shotHeads(list.items());
    const auto found = std::find(heads.begin(), heads.end(), selected);
    const int row = found == heads.end() ? -1 : static_cast<int>(found - heads.begin());
    list.setItems(std::move(heads));
    list.setListIndexQuietly(row);
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
    TolvaForm& f = m_form;
    f.List->clear();
    f.File->refresh();
    apply(state().refresh());
    f.File->setListIndexQuietly(-1);
    f.Label1->clear();
    f.Label2->clear();
    f.Label5->hide();
    f.txtRENAME->clear();
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
    ListBox& list = *m_form.List;
    const std::string selected = list.selectedName();
    std::vector<std::string> names = list.items();
    if (byDate) {
        m_runLong([&] {
            WaitCursor waiting;
            DateOrder::sort(m_form.Dir->path(), names, m_fileSystem, [this] { m_work.keepAlive(); });
        });
    } else {
        sortNaturally(names);
    }
    const auto found = std::find(names.begin(), names.end(), selected);
    const int row = selected.empty() || found == names.end() ? -1 : static_cast<int>(found - names.begin());
    list.setItems(std::move(names));
    list.setListIndexQuietly(row);
}

} // namespace zanto
