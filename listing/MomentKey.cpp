#include "listing/MomentKey.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace zanto {

std::string MomentKey::fromUtc(std::int64_t nanoseconds)
{
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    std::int64_t whole = nanoseconds / kNsPerSecond;
    std::int64_t part = nanoseconds % kNsPerSecond;
    if (part < 0) // before 1970: the fraction counts forward from a whole second
        part += kNsPerSecond, --whole;
    const auto seconds = static_cast<std::time_t>(whole);
    std::tm wall{};
    if (localtime_r(&seconds, &wall) == nullptr)
        return {};
    std::array<char, 64> date{};
    std::strftime(date.data(), date.size(), "%Y:%m:%d %H:%M:%S", &wall);
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%s.%09lld", date.data(), static_cast<long long>(part));
    return text.data();
}

} // namespace zanto
