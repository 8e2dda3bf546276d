#pragma once

#include <string>

namespace zanto::test {

// A small exFAT file system as on a camera card: an image made with mkfs.exfat,
// on a loop device, mounted through exfat-fuse. Needs root; mounted() tells.
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
