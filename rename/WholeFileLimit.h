#pragma once

#include <cstddef>

namespace zanto {

// The most of one file read whole into memory, far above any photo: a file
// past it is read only so far (a picture then shows as damaged). A header
// alone, so that the zanto-heif helper, which links none of the program's
// libraries, caps its input by it too.
inline constexpr std::size_t WHOLE_FILE_LIMIT = std::size_t{1} << 30;

} // namespace zanto
