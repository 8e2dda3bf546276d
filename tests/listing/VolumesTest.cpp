#include "listing/Volumes.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

// The drives offered: the root first, the removable media wherever the desktop
// mounts them, the home folder's own volume; never the system's other mounts.
TEST(Volumes, TheDrivesAPersonWouldChoose)
{
    const std::vector<Volume> mounts{{"/boot/efi", "efi"}, {"/", "/"},       {"/media/u/CAMERA", "CAMERA"},
                                     {"/run/media/u/SD", "SD"}, {"/mnt", "mnt"}, {"/mnt/usb", "usb"},
                                     {"/proc", "proc"},    {"/home", "home"}};
    std::vector<std::string> roots;
    for (const Volume& volume : chooseVolumes(mounts, "/home/u"))
        roots.push_back(volume.root);
    EXPECT_EQ(roots, (std::vector<std::string>{"/", "/media/u/CAMERA", "/run/media/u/SD", "/mnt/usb", "/home"}));
    EXPECT_EQ(volumeIndexFor(chooseVolumes(mounts, "/home/u"), "/run/media/u/SD/DCIM"), 2);
    EXPECT_EQ(chooseVolumes({}, "/home/u").front().root, "/") << "the root even when the platform lists nothing";
}

} // namespace
} // namespace zanto
