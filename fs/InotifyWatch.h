#pragma once

#include "rename/FolderWatch.h"

#include <memory>
#include <string>

namespace zanto {

// A folder watched through inotify, which the kernel feeds as each change is
// made, so that asking reads what is pending without waiting for an event
// loop. Only changes made through this machine's kernel are seen: a network
// share or a FUSE file system whose store changes elsewhere is never watched.
class InotifyWatch final : public FolderWatch {
public:
    // None where the folder's file system is not a local one, or inotify
    // refuses (its limits reached).
    static std::unique_ptr<FolderWatch> of(const std::string& folder);

    ~InotifyWatch() override;
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;

    bool changed() override;

private:
    explicit InotifyWatch(int fd) : m_fd(fd) {}

    int m_fd;
    bool m_changed = false;
};

} // namespace zanto
