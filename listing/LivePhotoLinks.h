#pragma once

#include "rename/ShotGroups.h"

#include <functional>
#include <string>
#include <vector>

namespace zanto {

class FileSystem;

// The content identifiers that tie a Live Photo's still to its clip where
// their names do not (IMG_1234.HEIC, IMG_1234_HEVC.MOV): read from the
// stills and clips of a folder that no file of the other kind goes with by
// name (linkCandidates), so that a folder of a camera's photos reads nothing.
class LivePhotoLinks {
public:
    using Step = std::function<void()>;

    static ShotLinks read(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs,
                          const Step& step = {});
};

} // namespace zanto
