#pragma once

#include "CommandLine.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace zanto {

class DriveBox;
class FolderListBox;
class FolderView;
class PreviewArea;
enum class FsError : int;
struct MessageRequest;
enum class MsgAnswer : int;

// The drive selector and the folder list: a new drive or folder is opened (a
// drive not ready may be retried); through the view the file list reads it,
// and the rename list and the name panel start afresh.
class FolderNavigator {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    // `forcedStop` ends the program after an error the drive selector does not know.
    FolderNavigator(DriveBox& drive, FolderListBox& dir, FolderView& view, PreviewArea& preview, Ask ask,
                    std::function<void()> forcedStop);

    void driveChanged();
    void folderChanged();
    void folderSelectionMoved();
    // Opening `folder` failed with `error`: retry while the drive is not
    // ready and the user asks for it, else tell.
    void openFailed(const std::string& folder, FsError error);

    // A folder, or a file in one, named on the command line or by a later
    // start; none (and the user told) when it cannot be used.
    std::optional<StartTarget> usableTarget(const QString& path);
    // Opens such a path and selects its file, also in the rename list when
    // `inRenameList`.
    void open(const QString& path, bool inRenameList);
    // Selects `name` in the file list, as a click would.
    void selectFile(const std::string& name, bool inRenameList);

private:
    DriveBox& m_drive;
    FolderListBox& m_dir;
    FolderView& m_view;
    PreviewArea& m_preview;
    Ask m_ask;
    std::function<void()> m_forcedStop;
};

} // namespace zanto
