#pragma once

#include "listing/Capture.h"

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zanto {

// A camera or phone among a trip's files: as its metadata names it, else as
// it names its files ("MVI_*.MOV"): a video that names no camera is still
// told apart from the photos of the camera that made it.
struct TripCamera {
    CameraId id;
    std::string nameForm; // with an id that is not known()

    auto operator<=>(const TripCamera&) const = default;
};

// How far each camera's clock is put right, in seconds: +192 moves its files
// 3 min 12 s later. Kept in memory only, never written into a file.
using ClockOffsets = std::map<TripCamera, std::int64_t>;

// A camera's files in a list, and their first and last moments on its clock
// put right.
struct CameraClock {
    TripCamera camera;
    std::size_t files = 0;
    std::optional<CaptureMoment> first;
    std::optional<CaptureMoment> last;
};

} // namespace zanto
