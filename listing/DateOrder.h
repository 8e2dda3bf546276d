#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zanto {

class FileSystem;

// The order of a trip's pictures and videos from several cameras and
// phones: by the moment each was taken (CaptureTime), or the file's
// modification time for a file without one. The files of one shot (a RAW,
// its JPEG, their sidecars: the rule of ShotGroups) stay together at the
// shot's earliest moment, in natural order; shots of the same moment keep
// their natural order.
class DateOrder {
public:
    // Called after each file read; a long sort keeps the window alive there.
    using Step = std::function<void()>;

    // Sorts `names`, bare names of files in `folder`.
    static void sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs,
                     const Step& step = {});
};

} // namespace zanto
