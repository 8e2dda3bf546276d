#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace zanto::test {

// A real file system of another kind than the temporary folder's, mounted for
// one test and taken down again by the destructor, also after a failed
// assertion. Needs root; mounted() tells whether it is there.
class TestVolume {
public:
    enum class Kind {
        Exfat, // a camera card: an exFAT image on a loop device, through exfat-fuse
        FatFuse, // a FAT image on a loop device, through fusefat
        Overlay, // overlayfs: the lower layer on the ordinary disk, the upper on a tmpfs
        SmallTmpfs, // a tmpfs of `bytes`, to stand in for a full disk
    };
    using Files = std::map<std::string, std::string>; // name -> content

    // `lowerFiles`: written into the lower layer of an Overlay before it is
    // mounted, so that they show in path() from another device than path().
    explicit TestVolume(Kind kind, const Files& lowerFiles = {}, std::size_t bytes = 64 * 1024);
    ~TestVolume();
    TestVolume(const TestVolume&) = delete;
    TestVolume& operator=(const TestVolume&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_mountPoint; } // the mount point

    // A write-protected card: path() read-only (a read-only bind mount over
    // it), or writable again. False when the remount failed.
    bool setReadOnly(bool readOnly);

private:
    bool mountImage(const std::string& makeCommand, const std::string& mountCommand);
    bool mountOverlay(const Files& lowerFiles);

    std::string m_folder; // holds the image, the layers and the mount point
    std::string m_mountPoint;
    std::string m_device; // the loop device of an image
    std::string m_layers; // the tmpfs under an overlay's upper layer
    bool m_mounted = false;
    bool m_bound = false; // the bind mount of setReadOnly() is over path()
};

} // namespace zanto::test
