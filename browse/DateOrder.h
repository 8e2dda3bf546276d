#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanto {

class FileSystem;

// The order of a trip's pictures from several cameras: by the moment each
// was taken. The moment is the EXIF DateTimeOriginal with its sub-seconds,
// or the file's modification time for a file without it; pictures of the
// same moment keep their natural order.
class DateOrder {
public:
    // Called after each file read; a long sort keeps the window alive there.
    using Step = std::function<void()>;

    // Sorts `names`, bare names of files in `folder`.
    static void sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs,
                     const Step& step = {});

    // The moment a picture was taken, from the head of its file, as a key
    // whose byte order is time order ("2024:05:01 10:00:00.120000000"); none
    // without a well-formed DateTimeOriginal.
    static std::optional<std::string> exifMoment(std::string_view head);

private:
    static std::string momentOf(const std::string& path, FileSystem& fs);
};

} // namespace zanto
