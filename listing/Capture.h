#pragma once

#include "listing/CaptureMoment.h"

#include <compare>
#include <optional>
#include <string>

namespace zanto {

// The camera or phone that took a file, as its metadata names it; all empty
// where it does not.
struct CameraId {
    std::string make;
    std::string model;
    std::string serial; // the body's serial number, where the file carries it

    bool known() const { return !make.empty() || !model.empty() || !serial.empty(); }
    auto operator<=>(const CameraId&) const = default;
};

// What a camera or phone file says about its taking.
struct Capture {
    std::optional<CaptureMoment> moment;
    CameraId camera;
    // Apple's content identifier: a Live Photo's still and clip share it.
    std::string contentId;
};

} // namespace zanto
