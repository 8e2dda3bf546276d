#pragma once

#include "rename/ShotGroups.h"

#include <functional>
#include <string>
#include <vector>

namespace zanto {

class FileSystem;

// The content identifiers that tie a Live Photo's still to its clip where
// their names do not (IMG_1234.HEIC, IMG_1234_HEVC.MOV): read only from the
// pairs that linkCandidates names, so that a folder of a camera's photos,
// or of a phone's pairs named alike, reads nothing.
class LivePhotoLinks {
public:
    using Step = std::function<void()>;

    static ShotLinks read(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs,
                          const Step& step = {});
};

} // namespace zanto
