#pragma once

#include "rename/FileSystem.h"
#include "rename/FolderWatch.h"

#include <memory>
#include <string>
#include <vector>

namespace zanto {

class WildcardPattern;

// The names the file list shows for `folder`: its regular files and links to
// regular files, without hidden ones (leading "."), matching `pattern`, in
// natural order. Folders, dangling links, FIFOs, sockets and devices are left
// out: they are nothing to rename or preview here, and a FIFO opened later
// could block. An unreadable folder gives its error and no names.
FsError listMatchingFiles(FileSystem& fs, const std::string& folder, const WildcardPattern& pattern,
                          std::vector<std::string>& names);

// One reading of a folder, with a watch begun before it: while the watch
// tells of no change, the reading is as good as a new one, so that the folder
// list and the file list need not each read a large folder.
struct FolderReading {
    std::string folder;
    std::unique_ptr<FolderWatch> watch;
    std::vector<std::string> files;      // as listMatchingFiles takes them, before the pattern; none unwatched
    std::vector<std::string> subfolders; // not hidden, in natural order

    // The reading still shows `path` as it is now.
    [[nodiscard]] bool current(const std::string& path) const;
};

// Reads `folder` into `reading`; on failure gives the error and an empty reading.
FsError readFolder(FileSystem& fs, const std::string& folder, FolderReading& reading);

// The names listMatchingFiles would give, taken out of a reading.
std::vector<std::string> matchingFiles(FolderReading&& reading, const WildcardPattern& pattern);

} // namespace zanto
