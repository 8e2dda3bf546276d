#pragma once

#include "rename/FileSystem.h"

namespace zanto {

// Numbers an errno value the way the program's messages know it. `folder` is
// true when the path names a folder being opened (a missing one is then
// "path not found" rather than "file not found").
FsError fsErrorFromErrno(int error, bool folder = false);

// The real file system, through POSIX calls.
class NativeFileSystem final : public FileSystem {
public:
    FsError renameNoReplace(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    FsError listNames(const std::string& folder, std::vector<std::string>& names) override;
    FsError listEntries(const std::string& folder, std::vector<FolderEntry>& entries) override;
    FsError status(const std::string& path, FileStatus& status) override;
    FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    std::size_t maxNameLength(const std::string& folder) override;
    FsError removeFile(const std::string& path) override;
};

} // namespace zanto
