#include "NativeFileSystem.h"

#include "fs/InotifyWatch.h"

#include "rename/PathRule.h"
#include "rename/ReadableFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/statfs.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace zanto {

FsError fsErrorFromErrno(int error, bool folder)
{
    switch (error) {
    case 0:
        return FsError::None;
    case ENOENT:
        return folder ? FsError::PathNotFound : FsError::FileNotFound;
    case ENOTDIR:
        return FsError::PathNotFound;
    case EEXIST:
    case ENOTEMPTY:
        return FsError::FileExists;
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
    case ENXIO:
    case ENODEV:
        return FsError::DeviceUnavailable;
    case EIO:
    case ENOTCONN:
    case ESTALE:
        return FsError::DiskNotReady;
    case ENOSPC:
    case EDQUOT:
        return FsError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
    case EISDIR:
        return FsError::PathFileAccess;
    default:
        return FsError::Other;
    }
}

namespace {

constexpr long kFuseMagic = 0x65735546;

EntryKind kindOf(mode_t mode)
{
    return S_ISREG(mode) ? EntryKind::File : S_ISDIR(mode) ? EntryKind::Folder : EntryKind::Other;
}

} // namespace

bool hasNoHardLinks(long type)
{
    constexpr long kMsdos = 0x4d44;
    constexpr long kExfat = 0x2011BAB0;
    return type == kMsdos || type == kExfat || type == kFuseMagic;
}

const NativeFileSystem::MountTraits& NativeFileSystem::traits(const MountKey& mount, const std::string& path)
{
    const std::lock_guard lock(m_mountsLock.mutex);
    const auto known = m_mounts.find(mount);
    if (known != m_mounts.end())
        return known->second;
    constexpr long kOverlay = 0x794c7630;
    struct statfs volume {};
    MountTraits traits;
    if (m_calls.statfs(path.c_str(), &volume) == 0) {
        traits.noHardLinks = hasNoHardLinks(volume.f_type);
        traits.listingInodes = volume.f_type != kOverlay;
    }
    return m_mounts.emplace(mount, traits).first->second;
}

std::optional<FileStamp> NativeFileSystem::stampOf(const std::string& path, MountKey* mount)
{
#ifndef STATX_MNT_ID_UNIQUE
    constexpr unsigned STATX_MNT_ID_UNIQUE = 0x4000U;
#endif
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_MNT_ID | STATX_MNT_ID_UNIQUE,
                &info)
        != 0)
        return std::nullopt;
    const MountKey key{makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_mnt_id,
                       (info.stx_mask & STATX_MNT_ID_UNIQUE) != 0};
    if (mount != nullptr)
        *mount = key;
    FileStamp stamp;
    stamp.device = std::get<0>(key);
    stamp.inode = info.stx_ino;
    stamp.size = info.stx_size;
    stamp.modifiedNs = static_cast<std::int64_t>(info.stx_mtime.tv_sec) * 1'000'000'000 + info.stx_mtime.tv_nsec;
    stamp.stableInode = !traits(key, path).noHardLinks;
    return stamp;
}

namespace {

// The folder a path names an entry of ("/" for the root's); none without a "/".
std::string_view folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string_view("/") : std::string_view(path).substr(0, slash);
}

bool refusesLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

NativeFileSystem::RenameRefusals NativeFileSystem::knownRefusals(const std::string& from,
                                                                 std::optional<FileStamp>& source, MountKey& mount)
{
    {
        const std::lock_guard lock(m_refusalsLock.mutex);
        if (m_refusingFolder.empty() || folderOf(from) != m_refusingFolder)
            return {};
    }
    // The folder's mount may have changed since (a card taken out and
    // another put in): the refusals are those of the mount the file is on.
    source = stampOf(from, &mount);
    if (!source)
        return {};
    const std::lock_guard lock(m_refusalsLock.mutex);
    const auto known = m_refusals.find(mount);
    return known == m_refusals.end() ? RenameRefusals{} : known->second;
}

void NativeFileSystem::noteRefusals(const std::string& from, const MountKey& mount, RenameRefusals refusals)
{
    const std::lock_guard lock(m_refusalsLock.mutex);
    m_refusals[mount] = refusals;
    m_refusingFolder = std::string(folderOf(from));
}

FsError NativeFileSystem::renameNoReplace(const std::string& from, const std::string& to)
{
    std::optional<FileStamp> source;
    MountKey mount;
    const RenameRefusals known = knownRefusals(from, source, mount);
    if (!known.noReplaceFlag) {
        if (m_calls.renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return FsError::None;
        const int error = errno;
        if (error != EINVAL && error != ENOSYS)
            return fsErrorFromErrno(error);
    }

    // The file system refuses the flag (some network and FUSE file systems).
    // Link-then-unlink never replaces either: link() fails when the target exists.
    int linkError = EPERM;
    if (!known.hardLinks) {
        if (m_calls.link(from.c_str(), to.c_str()) == 0) {
            if (m_calls.unlink(from.c_str()) == 0)
                return FsError::None;
            const int unlinkError = errno;
            m_calls.unlink(to.c_str());
            return fsErrorFromErrno(unlinkError);
        }
        linkError = errno;
    }
    // Check-then-rename leaves a window in which another's new file would be
    // replaced: only where the file system has no hard links at all, never
    // because link() was refused (NFS, protected_hardlinks).
    struct stat info {};
    if (!source)
        source = stampOf(from, &mount);
    if (!source)
        return fsErrorFromErrno(known.hardLinks ? errno : linkError);
    // A link refused on a file system with hard links may be one file's
    // (protected_hardlinks): only a file system without any is spared the call.
    noteRefusals(from, mount, {true, refusesLinks(linkError) && !source->stableInode});
    if (source->stableInode)
        return refusesLinks(linkError) ? FsError::NoSafeRename : fsErrorFromErrno(linkError);
    bool held = m_calls.lstat(to.c_str(), &info) == 0;
    if (held && known.noReplaceFlag) {
        // A FUSE lookup may answer from a cached alias in another letter case
        // of a file just renamed away; the refused call, skipped above, looks
        // the name up afresh.
        if (m_calls.renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return FsError::None;
        if (errno != EINVAL && errno != ENOSYS)
            return fsErrorFromErrno(errno);
        held = m_calls.lstat(to.c_str(), &info) == 0;
    }
    if (held)
        return FsError::FileExists;
    if (m_calls.rename(from.c_str(), to.c_str()) != 0)
        return fsErrorFromErrno(errno);
    return FsError::None;
}

bool NativeFileSystem::canOpenForReading(const std::string& path)
{
    // Only regular files: opening a FIFO for reading would wait for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

bool NativeFileSystem::exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool NativeFileSystem::existsUncached(const std::string& path)
{
    const std::string folder(folderOf(path));
    struct statfs volume {};
    if (folder.empty() || m_calls.statfs(folder.c_str(), &volume) != 0 || volume.f_type != kFuseMagic)
        return exists(path);
    // The folder's reading goes to the driver; a lookup may not.
    const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
    bool found = false;
    const FsError error = readEntries(folder, [&](std::vector<FolderEntry>& batch) {
        found = found || std::any_of(batch.begin(), batch.end(), [&](const FolderEntry& entry) { return entry.name == name; });
    });
    return error == FsError::None ? found : exists(path);
}

FsError NativeFileSystem::probeName(const std::string& folder, const std::string& name)
{
    const std::string path = joinPath(folder, name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? FsError::None : fsErrorFromErrno(errno);
    ::close(fd);
    return ::unlink(path.c_str()) == 0 ? FsError::None : fsErrorFromErrno(errno);
}

bool NativeFileSystem::sameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

FsError NativeFileSystem::listNames(const std::string& folder, std::vector<std::string>& names)
{
    // Taken a batch at a time: a whole folder's entries never stand beside its names.
    names.clear();
    return readEntries(folder, [&](std::vector<FolderEntry>& batch) {
        for (FolderEntry& entry : batch)
            names.push_back(std::move(entry.name));
    });
}

FsError NativeFileSystem::readEntries(const std::string& folder, const EntryBatchTaker& take)
{
    // Closed also when `take` throws.
    const std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(folder.c_str()), ::closedir);
    DIR* const dir = handle.get();
    if (dir == nullptr)
        return fsErrorFromErrno(errno, true);
    // Batches small enough to stay in cache while the taker works through them.
    constexpr std::size_t kBatch = 2048;
    std::vector<FolderEntry> batch;
    batch.reserve(kBatch);
    for (;;) {
        // The stat of a dangling link below sets errno; only readdir's own may count.
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr)
            break;
        const std::string_view name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        // d_type settles most entries; links and file systems that do not
        // fill it (some network and FUSE ones) need a stat that follows the link.
        EntryKind kind = EntryKind::Other;
        struct stat info {};
        if (entry->d_type == DT_REG)
            kind = EntryKind::File;
        else if (entry->d_type == DT_DIR)
            kind = EntryKind::Folder;
        else if ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
                 && ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0)
            kind = kindOf(info.st_mode);
        batch.push_back({std::string(name), kind, entry->d_ino});
        if (batch.size() == kBatch) {
            take(batch);
            batch.clear();
            batch.reserve(kBatch);
        }
    }
    const int error = errno;
    if (error == 0 && !batch.empty())
        take(batch);
    return fsErrorFromErrno(error, true);
}

FsError NativeFileSystem::status(const std::string& path, FileStatus& status)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return fsErrorFromErrno(errno);
    status.kind = kindOf(info.st_mode);
    status.size = static_cast<std::int64_t>(info.st_size);
    status.modifiedMs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return FsError::None;
}

namespace {

// Opens `path` for reading only when it is a regular file. O_NONBLOCK: the
// name may have been replaced by a FIFO since it was listed.
FsError openRegular(const std::string& path, int& fd, struct stat& info)
{
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fsErrorFromErrno(errno);
    FsError error = FsError::None;
    if (::fstat(fd, &info) != 0)
        error = fsErrorFromErrno(errno);
    else if (!S_ISREG(info.st_mode))
        error = FsError::PathFileAccess;
    if (error != FsError::None) {
        ::close(fd);
        fd = -1;
    }
    return error;
}

// Reads up to `length` bytes at `offset`, or from the current place when
// `offset` is negative.
FsError readInto(int fd, off_t offset, std::size_t length, std::string& bytes)
{
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < length) {
        const std::size_t wanted = std::min(sizeof buffer, length - bytes.size());
        const ssize_t got = offset < 0 ? ::read(fd, buffer, wanted)
                                       : ::pread(fd, buffer, wanted, offset + static_cast<off_t>(bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const FsError error = fsErrorFromErrno(errno);
            bytes.clear();
            return error;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return FsError::None;
}

class NativeReadableFile final : public ReadableFile {
public:
    NativeReadableFile(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    ~NativeReadableFile() override { ::close(m_fd); }
    NativeReadableFile(const NativeReadableFile&) = delete;
    NativeReadableFile& operator=(const NativeReadableFile&) = delete;

    std::uint64_t size() const override { return m_size; }
    FsError readAt(std::uint64_t offset, std::size_t length, std::string& bytes) override
    {
        if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
            bytes.clear();
            return FsError::None;
        }
        return readInto(m_fd, static_cast<off_t>(offset), length, bytes);
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

} // namespace

FsError NativeFileSystem::readFile(const std::string& path, std::size_t limit, std::string& bytes)
{
    bytes.clear();
    int fd = -1;
    struct stat info {};
    FsError error = openRegular(path, fd, info);
    if (error == FsError::None) {
        error = readInto(fd, -1, limit, bytes);
        ::close(fd);
    }
    return error;
}

FsError NativeFileSystem::openFile(const std::string& path, std::unique_ptr<ReadableFile>& file)
{
    file.reset();
    int fd = -1;
    struct stat info {};
    const FsError error = openRegular(path, fd, info);
    if (error == FsError::None)
        file = std::make_unique<NativeReadableFile>(fd, static_cast<std::uint64_t>(info.st_size));
    return error;
}

std::unique_ptr<FolderWatch> NativeFileSystem::watch(const std::string& folder)
{
    return InotifyWatch::of(folder);
}

std::size_t NativeFileSystem::maxNameLength(const std::string& folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::optional<FileStamp> NativeFileSystem::stamp(const std::string& path)
{
    return stampOf(path, nullptr);
}

std::string NativeFileSystem::typeName(const std::string& path)
{
    // The magic numbers of linux/magic.h for the file systems a user meets.
    static const std::map<long, const char*> names{
        {0xEF53, "ext4"},       {0x58465342, "xfs"},     {0x9123683E, "btrfs"},    {0x01021994, "tmpfs"},
        {0x4d44, "vfat"},       {0x2011BAB0, "exfat"},   {0x5346544E, "ntfs"},     {0x65735546, "fuse"},
        {0x6969, "nfs"},        {0xFF534D42, "cifs"},    {0xFE534D42, "smb2"},     {0x01021997, "9p"},
        {0x786f4256, "vboxsf"}, {0x794c7630, "overlay"}, {0x6a656a63, "virtiofs"},
    };
    struct statfs volume {};
    if (m_calls.statfs(path.c_str(), &volume) != 0)
        return {};
    const auto found = names.find(static_cast<long>(volume.f_type));
    if (found != names.end())
        return found->second;
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%lx", static_cast<unsigned long>(volume.f_type));
    return hex;
}

FsError NativeFileSystem::listStamped(const std::string& folder, std::vector<std::string>& names,
                                      std::vector<FileStamp>& stamps)
{
    // Where inode numbers last and the reading of the folder gives the same
    // ones as lstat, the reading gives the stamps: a stat per file would cost
    // a batch of 100,000 files a noticeable share.
    stamps.clear();
    MountKey mount;
    const auto folderStamp = stampOf(folder, &mount);
    if (!folderStamp || !folderStamp->stableInode || !traits(mount, folder).listingInodes)
        return listNames(folder, names);
    names.clear();
    return readEntries(folder, [&](std::vector<FolderEntry>& batch) {
        for (FolderEntry& entry : batch) {
            names.push_back(std::move(entry.name));
            stamps.push_back(FileStamp{folderStamp->device, entry.inode, 0, 0, true});
        }
    });
}

FsError NativeFileSystem::removeFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return fsErrorFromErrno(errno);
    return FsError::None;
}

} // namespace zanto
