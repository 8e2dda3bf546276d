#include "DeleteCommand.h"

#include "Messages.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ShotGroups.h"
#include "ui/Messenger.h"
#include "ui/NativeName.h"

#include <algorithm>

namespace zanto {

DeleteCommand::DeleteCommand(Ask ask, FileSystem& fileSystem)
    : m_ask(std::move(ask))
    , m_fileSystem(fileSystem)
{
}

DeleteOutcome DeleteCommand::deleteFile(const std::string& folder, const std::string& name,
                                        const std::vector<std::string>& entries, bool shots, const ShotLinks* links)
{
    std::vector<std::string> files =
        shots ? shotInFolder(m_fileSystem, folder, entries, name, caseFoldedKey, links).members : std::vector{name};
    // The file pointed at goes last.
    std::stable_partition(files.begin(), files.end(), [&](const std::string& file) { return file != name; });
    if (m_ask(messages::confirmDelete(files)) != MsgAnswer::Ok)
        return DeleteOutcome::Kept;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (m_fileSystem.removeFile(joinPath(folder, files[i])) != FsError::None) {
            m_ask(messages::deleteFailed(displayName(files[i])));
            return i == 0 ? DeleteOutcome::Kept : DeleteOutcome::PartlyDeleted;
        }
    }
    return DeleteOutcome::Deleted;
}

} // namespace zanto
