#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zanto {

// The number a camera counts its frames by, the last digits of the name
// before the extension (IMG_1234, DSC_1234, P1234, DSCF1234), and the
// family it counts in: the letters before it and its width.
struct FrameCounter {
    std::string family;       // "IMG_/4"
    std::uint64_t number = 0; // as the counter goes on past its wrap
    std::uint64_t modulus = 1;

    static std::optional<FrameCounter> of(const std::string& name);

    // A counter that wrapped on one card (9998, 9999, 0001) goes on past it
    // (9998, 9999, 10001): where counters of one family lie more than half
    // their range apart, the low ones follow the high ones.
    static void continueWraps(std::vector<FrameCounter*>& counters);

    bool operator==(const FrameCounter& other) const = default;
};

} // namespace zanto
