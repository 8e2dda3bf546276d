#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zanto {

// A camera clock's offset as typed and shown: "+00:03:12", "-9:00:00",
// "3:12" (minutes and seconds), "+45" (seconds); a sign or none, then
// hours, minutes and seconds, the leading ones left out.
class ClockOffsetText {
public:
    static std::optional<std::int64_t> parse(std::string_view text);
    static std::string of(std::int64_t seconds);
};

} // namespace zanto
