#include "FolderNavigator.h"

#include "FolderView.h"
#include "Messages.h"
#include "browse/DriveBox.h"
#include "browse/FolderListBox.h"
#include "browse/PreviewArea.h"
#include "rename/FileSystem.h"
#include "ui/NativeName.h"

namespace zanto {

namespace {

// A drive without its medium, or not ready yet: the user may retry.
bool notReady(FsError error)
{
    return error == FsError::DeviceUnavailable || error == FsError::DiskNotReady;
}

} // namespace

FolderNavigator::FolderNavigator(DriveBox& drive, FolderListBox& dir, FolderView& view, PreviewArea& preview,
                                 Ask ask, std::function<void()> forcedStop)
    : m_drive(drive)
    , m_dir(dir)
    , m_view(view)
    , m_preview(preview)
    , m_ask(std::move(ask))
    , m_forcedStop(std::move(forcedStop))
{
}

void FolderNavigator::driveChanged()
{
    for (;;) {
        const FsError error = m_dir.setPath(m_drive.currentFolder());
        if (error == FsError::None)
            return;
        if (notReady(error)) {
            if (m_ask(messages::deviceNotReady()) == MsgAnswer::Retry)
                continue;
            return;
        }
        if (error == FsError::PathNotFound || error == FsError::FileNotFound || error == FsError::PathFileAccess) {
            // An unreadable folder is no reason to end the program.
            m_ask(messages::folderUnreadable(displayName(m_drive.currentFolder())));
            return;
        }
        m_ask(messages::unexpectedDriveError());
        m_forcedStop();
        return;
    }
}

void FolderNavigator::folderChanged()
{
    m_view.openFiles(m_dir.path(), m_dir.takeReading());
    m_view.clearNamePanel();
    m_preview.hideInformation();
    m_view.refillList();
    // Neither list keeps a selection, and the preview no longer shows a file
    // of the previous folder.
    m_view.clearSelections();
    m_drive.rememberFolder(m_dir.path());
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
        error = m_dir.setPath(folder);
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
    const FsError error = m_dir.setPath(target->folder);
    if (error != FsError::None) {
        openFailed(target->folder, error);
        return;
    }
    m_drive.selectDriveFor(m_dir.path());
    selectFile(target->file, inRenameList);
}

void FolderNavigator::selectFile(const std::string& name, bool inRenameList)
{
    if (!name.empty())
        m_view.selectName(name, inRenameList);
}

} // namespace zanto
