#include "FolderNavigator.h"

#include "Messages.h"
#include "TolvaForm.h"
#include "browse/DriveBox.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/PreviewArea.h"
#include "rename/FileSystem.h"
#include "ui/NativeName.h"

#include <QLabel>

#include <algorithm>

namespace zanto {

namespace {

// A drive without its medium, or not ready yet: the user may retry.
bool notReady(FsError error)
{
    return error == FsError::DeviceUnavailable || error == FsError::DiskNotReady;
}

} // namespace

FolderNavigator::FolderNavigator(TolvaForm& form, PreviewArea& preview, Ask ask, std::function<void()> reloadList,
                                 std::function<void()> forcedStop)
    : m_form(form)
    , m_preview(preview)
    , m_ask(std::move(ask))
    , m_reloadList(std::move(reloadList))
    , m_forcedStop(std::move(forcedStop))
{
}

void FolderNavigator::driveChanged()
{
    for (;;) {
        const FsError error = m_form.Dir->setPath(m_form.Drive->currentFolder());
        if (error == FsError::None)
            return;
        if (notReady(error)) {
            if (m_ask(messages::deviceNotReady()) == MsgAnswer::Retry)
                continue;
            return;
        }
        if (error == FsError::PathNotFound || error == FsError::FileNotFound || error == FsError::PathFileAccess) {
            // An unreadable folder is no reason to end the program.
            m_ask(messages::folderUnreadable(displayName(m_form.Drive->currentFolder())));
            return;
        }
        m_ask(messages::unexpectedDriveError());
        m_forcedStop();
        return;
    }
}

void FolderNavigator::folderChanged()
{
    TolvaForm& f = m_form;
    if (f.File->setPath(f.Dir->path()) != FsError::None)
        m_ask(messages::folderUnreadable(displayName(f.Dir->path())));
    f.clearNamePanel();
    f.Label5->hide();
    m_reloadList();
    // Neither list keeps a selection, and the preview no longer shows a file
    // of the previous folder.
    f.File->setListIndex(-1);
    f.List->setListIndex(-1);
    f.Drive->rememberFolder(f.Dir->path());
}

void FolderNavigator::folderSelectionMoved()
{
    m_preview.clearPicture();
}

void FolderNavigator::openFailed(const std::string& folder, FsError error)
{
    while (notReady(error)) {
        if (m_ask(messages::deviceNotReady()) != MsgAnswer::Retry)
            return;
        error = m_form.Dir->setPath(folder);
    }
    if (error != FsError::None)
        m_ask(messages::folderUnreadable(displayName(folder)));
}

std::optional<StartTarget> FolderNavigator::usableTarget(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    std::optional<StartTarget> target = CommandLine::target(path);
    if (!target)
        m_ask(messages::pathUnusable(path));
    return target;
}

void FolderNavigator::open(const QString& path, bool inRenameList)
{
    const std::optional<StartTarget> target = usableTarget(path);
    if (!target)
        return;
    const FsError error = m_form.Dir->setPath(target->folder);
    if (error != FsError::None) {
        openFailed(target->folder, error);
        return;
    }
    m_form.Drive->selectDriveFor(m_form.Dir->path());
    selectFile(target->file, inRenameList);
}

void FolderNavigator::selectFile(const std::string& name, bool inRenameList)
{
    if (name.empty())
        return;
    const auto select = [&name](ListBox& box) {
        const auto& items = box.items();
        const auto found = std::find(items.begin(), items.end(), name);
        if (found != items.end())
            box.setListIndex(static_cast<int>(found - items.begin()));
    };
    select(*m_form.File);
    if (inRenameList)
        select(*m_form.List);
}

} // namespace zanto
