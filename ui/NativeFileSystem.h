#pragma once

#include "rename/FileSystem.h"

#include <cstdio>
#include <map>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>
#include <unistd.h>

namespace zanto {

// Numbers an errno value the way the program's messages know it. `folder` is
// true when the path names a folder being opened (a missing one is then
// "path not found" rather than "file not found").
FsError fsErrorFromErrno(int error, bool folder = false);

// The system calls the no-replace rename is built from, replaceable so that
// tests can play a file system that refuses the flag or hard links.
struct RenameCalls {
    int (*renameat2)(int, const char*, int, const char*, unsigned) = ::renameat2;
    int (*link)(const char*, const char*) = ::link;
    int (*unlink)(const char*) = ::unlink;
    int (*rename)(const char*, const char*) = ::rename;
    int (*lstat)(const char*, struct stat*) = ::lstat;
    int (*statfs)(const char*, struct statfs*) = ::statfs;
};

// True for the file-system types without hard links: FAT, exFAT and FUSE
// mounts (statfs cannot name the driver behind those; exfat-fuse is one).
bool hasNoHardLinks(long type);

// The real file system, through POSIX calls.
class NativeFileSystem final : public FileSystem {
public:
    explicit NativeFileSystem(const RenameCalls& calls = {}) : m_calls(calls) {}

    FsError renameNoReplace(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    FsError listNames(const std::string& folder, std::vector<std::string>& names) override;
    FsError readEntries(const std::string& folder, const EntryBatchTaker& take) override;
    FsError status(const std::string& path, FileStatus& status) override;
    FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    std::size_t maxNameLength(const std::string& folder) override;
    FsError removeFile(const std::string& path) override;
    std::optional<FileStamp> stamp(const std::string& path) override;
    FsError listStamped(const std::string& folder, std::vector<std::string>& names,
                        std::vector<FileStamp>& stamps) override;

private:
    bool noHardLinks(dev_t device, const std::string& path);

    RenameCalls m_calls;
    std::map<dev_t, bool> m_linklessDevices; // statfs once per device
};

} // namespace zanto
