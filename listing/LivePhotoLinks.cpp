#include "listing/LivePhotoLinks.h"

#include "listing/CaptureTime.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ReadableFile.h"

#include <memory>

namespace zanto {

ShotLinks LivePhotoLinks::read(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs,
                               const Step& step)
{
    ShotLinks links;
    for (const std::string& name : linkCandidates(names)) {
        std::unique_ptr<ReadableFile> file;
        if (fs.openFile(joinPath(folder, name), file) == FsError::None && file) {
            std::string identifier = CaptureTime::facts(*file).contentId;
            if (!identifier.empty())
                links.emplace(name, std::move(identifier));
        }
        if (step)
            step();
    }
    return links;
}

} // namespace zanto
