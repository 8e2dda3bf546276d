#pragma once

#include "rename/FileSystem.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>
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

// The real file system, through POSIX calls. Safe to use from several
// threads at once: the preview reads pictures in workers.
class NativeFileSystem final : public FileSystem {
public:
    explicit NativeFileSystem(const RenameCalls& calls = {}) : m_calls(calls) {}

    FsError renameNoReplace(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool existsUncached(const std::string& path) override;
    FsError probeName(const std::string& folder, const std::string& name) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    FsError listNames(const std::string& folder, std::vector<std::string>& names) override;
    FsError readEntries(const std::string& folder, const EntryBatchTaker& take) override;
    FsError status(const std::string& path, FileStatus& status) override;
    FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    FsError openFile(const std::string& path, std::unique_ptr<ReadableFile>& file) override;
    std::size_t maxNameLength(const std::string& folder) override;
    FsError removeFile(const std::string& path) override;
    std::optional<FileStamp> stamp(const std::string& path) override;
    std::string typeName(const std::string& path) override;
    FsError listStamped(const std::string& folder, std::vector<std::string>& names,
                        std::vector<FileStamp>& stamps) override;
    std::unique_ptr<FolderWatch> watch(const std::string& folder) override;

private:
    // What a mount's file system type says, asked once per mount.
    struct MountTraits {
        bool noHardLinks = false;
        bool listingInodes = true; // readdir's d_ino is lstat's st_ino (not on overlayfs)
    };
    // What a mount's driver was found to refuse, learnt at its first rename:
    // each refused call costs a round trip to a FUSE driver, per file.
    struct RenameRefusals {
        bool noReplaceFlag = false;
        bool hardLinks = false;
    };
    // A mount: the device and the mount's id. The id is never reused where
    // the kernel has unique ids (6.8 and later), so a card taken out and
    // another put in at the same device is asked afresh.
    using MountKey = std::tuple<dev_t, std::uint64_t, bool>;
    const MountTraits& traits(const MountKey& mount, const std::string& path);
    std::optional<FileStamp> stampOf(const std::string& path, MountKey* mount);
    // The refusals known for the mount of `from`, whose stamp `source` gets,
    // when it lies in the folder of the last refused rename; else none known.
    RenameRefusals knownRefusals(const std::string& from, std::optional<FileStamp>& source, MountKey& mount);
    void noteRefusals(const std::string& from, const MountKey& mount, RenameRefusals refusals);

    // A lock that is not copied: a copy of the object guards its own map.
    struct Lock {
        std::mutex mutex;
        Lock() = default;
        Lock(const Lock& /*other*/) {}
        Lock& operator=(const Lock& /*other*/) { return *this; }
    };

    RenameCalls m_calls;
    Lock m_mountsLock; // guards m_mounts; its entries stay where they are once made
    std::map<MountKey, MountTraits> m_mounts;
    Lock m_refusalsLock; // guards the two below
    std::map<MountKey, RenameRefusals> m_refusals;
    std::string m_refusingFolder; // of the last rename that met a refusal
};

} // namespace zanto
