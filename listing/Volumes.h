#pragma once

#include <string>
#include <vector>

namespace zanto {

// A mounted file system a person would choose as a "drive".
struct Volume {
    std::string root;  // mount point, e.g. "/" or "/media/user/CAMERA"
    std::string label; // what the drive selector shows
};

// The volumes worth offering: the root, removable media under /media,
// /run/media and /mnt, and the home folder's volume where it is separate.
// `mounts` are (mount point, label) pairs as the platform lists them.
std::vector<Volume> chooseVolumes(const std::vector<Volume>& mounts, const std::string& home);

// The index of the volume that holds `path` (the longest matching mount
// point), or -1.
int volumeIndexFor(const std::vector<Volume>& volumes, const std::string& path);

} // namespace zanto
