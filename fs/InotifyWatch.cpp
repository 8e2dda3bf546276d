#include "fs/InotifyWatch.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <sys/inotify.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace zanto {

namespace {

// The local file systems, whose every change passes through this kernel
// (linux/magic.h). FUSE, overlay and network shares are left out: a change
// to what stands behind them is not seen.
bool isLocal(long type)
{
    constexpr std::array<long, 8> kLocal{
        0xEF53,     // ext2, ext3, ext4
        0x58465342, // xfs
        0x9123683E, // btrfs
        0x01021994, // tmpfs
        0x4d44,     // vfat
        0x2011BAB0, // exfat
        0x7366746e, // ntfs3
        0xF2F52010, // f2fs
    };
    for (const long local : kLocal) {
        if (type == local)
            return true;
    }
    return false;
}

constexpr std::uint32_t kNameChanges =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

std::unique_ptr<FolderWatch> InotifyWatch::of(const std::string& folder)
{
    struct statfs volume {};
    if (::statfs(folder.c_str(), &volume) != 0 || !isLocal(static_cast<long>(volume.f_type)))
        return nullptr;
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (::inotify_add_watch(fd, folder.c_str(), kNameChanges) < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FolderWatch>(new InotifyWatch(fd));
}

InotifyWatch::~InotifyWatch()
{
    ::close(m_fd);
}

bool InotifyWatch::changed()
{
    // Any event at all (a queue overflow, the folder unmounted) counts.
    alignas(inotify_event) char events[4096];
    while (!m_changed) {
        const ssize_t got = ::read(m_fd, events, sizeof events);
        if (got > 0)
            m_changed = true;
        else if (got == 0 || errno != EINTR)
            break;
    }
    return m_changed;
}

} // namespace zanto
