#pragma once

#include "rename/FileSystem.h"

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

} // namespace zanto
