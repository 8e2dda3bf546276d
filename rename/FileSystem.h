#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zanto {

// Failures of file-system calls, numbered as the program's messages know them.
enum class FsError : int {
    None = 0,
    FileNotFound = 53,
    FileExists = 58,
    DeviceUnavailable = 68,
    DiskNotReady = 71,
    PathFileAccess = 75,
    PathNotFound = 76,
    Other = 1000, // anything without a number of its own (no space, name too long, ...)
};

// What a path names, links followed: a dangling link is Other.
enum class EntryKind { File, Folder, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
};

struct FileStatus {
    EntryKind kind = EntryKind::Other;
    std::int64_t size = 0;
    std::int64_t modifiedMs = 0; // since the epoch
};

// The file-system calls that renaming, listing, deletion and preview need. Paths and
// names are native byte strings (on Linux the bytes the kernel stores, which
// need not be UTF-8). Tests replace the real implementation by one that fails
// on demand.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Renames without ever replacing an existing file: FileExists when `to` exists.
    virtual FsError renameNoReplace(const std::string& from, const std::string& to) = 0;

    // True when `path` is a regular file that can be opened for reading. Never
    // blocks (a FIFO or device is not readable in this sense).
    virtual bool canOpenForReading(const std::string& path) = 0;

    // True when something (file, folder, link, dangling link) stands at `path`.
    virtual bool exists(const std::string& path) = 0;

    // True when both paths name the same file (same device and inode), as a
    // case-insensitive file system reports for "photo.jpg" and "Photo.jpg".
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;

    // Every entry name of `folder`, hidden ones included, without "." and "..".
    virtual FsError listNames(const std::string& folder, std::vector<std::string>& names) = 0;

    // The same entries with their kinds; none when the folder cannot be read whole.
    virtual FsError listEntries(const std::string& folder, std::vector<FolderEntry>& entries) = 0;

    // Kind, length and modification time of what `path` names.
    virtual FsError status(const std::string& path, FileStatus& status) = 0;

    // At most `limit` bytes from the start of the regular file `path`. Never
    // blocks: anything else (a FIFO put in its place) gives PathFileAccess.
    virtual FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) = 0;

    // The longest file name, in bytes, that `folder`'s file system holds.
    virtual std::size_t maxNameLength(const std::string& folder) = 0;

    // Deletes a file for good (a symbolic link itself, never its target).
    virtual FsError removeFile(const std::string& path) = 0;
};

} // namespace zanto
