#pragma once

#include <string>

namespace zanto::test {

// A small exFAT file system, the kind a camera card holds: an image in a
// temporary folder, made with mkfs.exfat, attached to a loop device and
// mounted through exfat-fuse. Needs root; when anything fails, mounted() is
// false and nothing is left behind. The destructor unmounts and detaches.
class ExfatVolume {
public:
    ExfatVolume();
    ~ExfatVolume();
    ExfatVolume(const ExfatVolume&) = delete;
    ExfatVolume& operator=(const ExfatVolume&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_mountPoint; } // the mount point

private:
    std::string m_folder;
    std::string m_mountPoint;
    std::string m_device;
    bool m_mounted = false;
};

} // namespace zanto::test
