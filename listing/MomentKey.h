#pragma once

#include <cstdint>
#include <string>

namespace zanto {

// Moments as keys whose byte order is time order, in the form EXIF writes
// its dates and a fraction of nine digits: "2024:05:01 10:00:00.120000000".
// They read as local wall-clock time, as cameras set their clocks.
class MomentKey {
public:
    static constexpr std::size_t kDigitsOfSecond = 9;

    // An instant (nanoseconds since the epoch, UTC) in the machine's time zone.
    static std::string fromUtc(std::int64_t nanoseconds);
};

} // namespace zanto
