#pragma once

#include "rename/ShotGroups.h"

#include <functional>
#include <string>
#include <vector>

namespace zanto {

class FileSystem;
struct MessageRequest;
enum class MsgAnswer : int;

enum class DeleteOutcome {
    Kept,          // not asked for, or nothing could be deleted
    PartlyDeleted, // other files of the shot are gone, the one pointed at is not
    Deleted,
};

// 削除: a file deleted for good after asking. With shots on, every file of its
// shot goes with it, so that none of them drops out of the next run unsaid;
// the question then names them all in its details.
class DeleteCommand {
public:
    using Ask = std::function<MsgAnswer(const MessageRequest&)>;

    DeleteCommand(Ask ask, FileSystem& fileSystem);

    // Deletes `name` of `folder`, chosen from the list `entries`; with `shots`,
    // its shot's other files first (a Live Photo's clip by `links` too), so
    // that a failure leaves the shot still reachable through `name`.
    DeleteOutcome deleteFile(const std::string& folder, const std::string& name,
                             const std::vector<std::string>& entries, bool shots, const ShotLinks* links = nullptr);

private:
    Ask m_ask;
    FileSystem& m_fileSystem;
};

} // namespace zanto
