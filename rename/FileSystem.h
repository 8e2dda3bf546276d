#pragma once

#include "rename/FolderWatch.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

class ReadableFile;

// Failures of file-system calls, numbered as the program's messages know them.
enum class FsError : int {
    None = 0,
    FileNotFound = 53,
    FileExists = 58,
    DeviceUnavailable = 68,
    DiskNotReady = 71,
    PathFileAccess = 75,
    PathNotFound = 76,
    DiskFull = 61,
    Other = 1000, // anything without a number of its own (no space, name too long, ...)
    // The file system neither refuses to replace a name nor makes hard links
    // (VirtualBox shared folders, 9p): no rename there can be kept from
    // replacing a file that another program creates meanwhile.
    NoSafeRename = 1001,
};

// What a path names, links followed: a dangling link is Other.
enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
    std::uint64_t inode = 0; // as the folder's reading gives it (of a link, the link's)
};

struct FileStatus {
    EntryKind kind = EntryKind::Other;
    std::int64_t size = 0;
    std::int64_t modifiedMs = 0; // since the epoch
};

// What tells one file from another across renames. Where the file system
// keeps inode numbers for good, device and inode; where it makes them up per
// lookup or per mount (FAT, exFAT, FUSE drivers such as exfat-fuse, which
// gives "photo.jpg" and "Photo.jpg" of one file two numbers), size and
// modification time, which a rename leaves alone.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool stableInode = true;

    bool sameFileAs(const FileStamp& other) const
    {
        if (stableInode && other.stableInode)
            return device == other.device && inode == other.inode;
        return size == other.size && modifiedNs == other.modifiedNs;
    }
    // A folder's size and time change with every rename inside it: without
    // stable inodes, a folder still standing at its path on such a file
    // system counts as the same (not the empty mount point of a card taken out).
    bool sameFolderAs(const FileStamp& other) const
    {
        if (stableInode != other.stableInode)
            return false;
        return !stableInode || (device == other.device && inode == other.inode);
    }
};

// The file-system calls that renaming, listing, deletion and preview need. Paths and
// names are native byte strings (on Linux the bytes the kernel stores, which
// need not be UTF-8). Tests replace the real implementation by one that fails
// on demand.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Renames without ever replacing an existing file: FileExists when `to` exists.
    [[nodiscard]] virtual FsError renameNoReplace(const std::string& from, const std::string& to) = 0;

    // True when `path` is a regular file that can be opened for reading. Never
    // blocks (a FIFO or device is not readable in this sense).
    [[nodiscard]] virtual bool canOpenForReading(const std::string& path) = 0;

    // True when something (file, folder, link, dangling link) stands at `path`.
    [[nodiscard]] virtual bool exists(const std::string& path) = 0;

    // The same, as the file system itself says now: a FUSE driver may have
    // dropped a name that a lookup still finds in the kernel's entry cache.
    [[nodiscard]] virtual bool existsUncached(const std::string& path) { return exists(path); }

    // Whether `folder` takes a file called `name` (bare): an empty file is made
    // under it and removed at once. None also when the name is held already;
    // else why not (a read-only folder, a name the driver cannot write).
    [[nodiscard]] virtual FsError probeName(const std::string& /*folder*/, const std::string& /*name*/)
    {
        return FsError::None;
    }

    // True when both paths name the same file (same device and inode), as a
    // case-insensitive file system reports for "photo.jpg" and "Photo.jpg".
    [[nodiscard]] virtual bool sameFile(const std::string& a, const std::string& b) = 0;

    // Every entry name of `folder`, hidden ones included, without "." and "..".
    [[nodiscard]] virtual FsError listNames(const std::string& folder, std::vector<std::string>& names) = 0;

    // The same with the stamp of each entry, where one reading of the folder
    // gives it (inode numbers that last); else `stamps` stays empty.
    [[nodiscard]] virtual FsError listStamped(const std::string& folder, std::vector<std::string>& names,
                                              std::vector<FileStamp>& stamps)
    {
        stamps.clear();
        return listNames(folder, names);
    }

    // The same entries with their kinds, handed to `take` a batch at a time
    // while the folder is read (`take` may move from the batch). After an
    // error, the batches handed over are not the whole folder. It may be
    // called on a thread other than the caller's own; `take` then runs there.
    using EntryBatchTaker = std::function<void(std::vector<FolderEntry>& batch)>;
    [[nodiscard]] virtual FsError readEntries(const std::string& folder, const EntryBatchTaker& take) = 0;

    // All of them in one list; none when the folder cannot be read whole.
    [[nodiscard]] FsError listEntries(const std::string& folder, std::vector<FolderEntry>& entries)
    {
        entries.clear();
        const FsError error = readEntries(folder, [&entries](std::vector<FolderEntry>& batch) {
            entries.insert(entries.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
        });
        if (error != FsError::None)
            entries.clear();
        return error;
    }

    // Kind, length and modification time of what `path` names.
    [[nodiscard]] virtual FsError status(const std::string& path, FileStatus& status) = 0;

    // At most `limit` bytes from the start of the regular file `path`. Never
    // blocks: anything else (a FIFO put in its place) gives PathFileAccess.
    [[nodiscard]] virtual FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) = 0;

    // The regular file `path` opened for reading pieces of it, on the same
    // terms as readFile. The default reads it whole (up to 1 GiB) into memory.
    [[nodiscard]] virtual FsError openFile(const std::string& path, std::unique_ptr<ReadableFile>& file);

    // The longest file name, in bytes, that `folder`'s file system holds.
    [[nodiscard]] virtual std::size_t maxNameLength(const std::string& folder) = 0;

    // The stamp of whatever stands at `path` (not following a link), or none.
    // `stableInode` tells whether the folder's file system keeps inode numbers.
    [[nodiscard]] virtual std::optional<FileStamp> stamp(const std::string& path) = 0;

    // The name of the type of file system `path` lies on, for a message
    // ("vboxsf"); empty when unknown.
    [[nodiscard]] virtual std::string typeName(const std::string& /*path*/) { return {}; }

    // Deletes a file for good (a symbolic link itself, never its target).
    [[nodiscard]] virtual FsError removeFile(const std::string& path) = 0;

    // A watch over the names in `folder`, begun now; none where this file
    // system cannot tell every change (then every listing is read afresh).
    [[nodiscard]] virtual std::unique_ptr<FolderWatch> watch(const std::string& /*folder*/) { return nullptr; }
};

} // namespace zanto
