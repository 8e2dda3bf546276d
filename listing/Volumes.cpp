#include "listing/Volumes.h"

#include <algorithm>

namespace zanto {

namespace {

bool isUnder(const std::string& path, const std::string& root)
{
    if (root == "/")
        return !path.empty() && path.front() == '/';
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0
                            && path[root.size()] == '/');
}

bool isRemovablePlace(const std::string& root)
{
    for (const char* place : {"/media", "/run/media", "/mnt"}) {
        if (isUnder(root, place) && root != place)
            return true;
    }
    return false;
}

} // namespace

std::vector<Volume> chooseVolumes(const std::vector<Volume>& mounts, const std::string& home)
{
    std::vector<Volume> result;
    for (const Volume& mount : mounts) {
        if (mount.root == "/")
            result.insert(result.begin(), mount);
        else if (isRemovablePlace(mount.root))
            result.push_back(mount);
    }
    // The mount that holds the home folder, when it is not the root's.
    const Volume* homeVolume = nullptr;
    for (const Volume& mount : mounts) {
        if (isUnder(home, mount.root) && (homeVolume == nullptr || mount.root.size() > homeVolume->root.size()))
            homeVolume = &mount;
    }
    const auto alreadyListed = [&](const Volume& volume) {
        return std::any_of(result.begin(), result.end(), [&](const Volume& v) { return v.root == volume.root; });
    };
    if (homeVolume != nullptr && homeVolume->root != "/" && !alreadyListed(*homeVolume))
        result.push_back(*homeVolume);
    if (result.empty() || result.front().root != "/")
        result.insert(result.begin(), Volume{"/", "/"});
    return result;
}

int volumeIndexFor(const std::vector<Volume>& volumes, const std::string& path)
{
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::string& root = volumes[i].root;
        if (isUnder(path, root) && (best < 0 || root.size() > bestLength)) {
            best = static_cast<int>(i);
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace zanto
