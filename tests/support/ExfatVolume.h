#pragma once

#include <string>

namespace zanto::test {

// A small exFAT image in a temporary folder, attached to a loop device and
// mounted through exfat-fuse, as a camera card is; all undone on destruction.
// Needs root (losetup, mount).
class ExfatVolume {
public:
    ExfatVolume();
    ~ExfatVolume();
    ExfatVolume(const ExfatVolume&) = delete;
    ExfatVolume& operator=(const ExfatVolume&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_mountPoint; }

private:
    std::string m_folder;
    std::string m_mountPoint;
    std::string m_loop;
    bool m_mounted = false;
};

} // namespace zanto::test
