#include "listing/ClockOffsetText.h"

#include <array>
#include <cstdio>
#include <vector>

namespace zanto {

namespace {

constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kMostHours = 100 * 24 * 365; // a clock a century out is no clock to put right

} // namespace

std::optional<std::int64_t> ClockOffsetText::parse(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    std::vector<std::int64_t> fields{0};
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == ':') {
            if (digits == 0 || fields.size() == 3)
                return std::nullopt;
            fields.push_back(0), digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 8) {
            fields.back() = fields.back() * 10 + (c - '0'), ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    // The fields after the first are minutes and seconds: under 60 each.
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (fields[i] >= 60)
            return std::nullopt;
    }
    std::int64_t seconds = 0;
    for (const std::int64_t field : fields)
        seconds = seconds * kSecondsPerMinute + field;
    if (seconds > kMostHours * kSecondsPerHour)
        return std::nullopt;
    return negative ? -seconds : seconds;
}

std::string ClockOffsetText::of(std::int64_t seconds)
{
    const std::int64_t whole = seconds < 0 ? -seconds : seconds;
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%c%02lld:%02lld:%02lld", seconds < 0 ? '-' : '+',
                  static_cast<long long>(whole / kSecondsPerHour),
                  static_cast<long long>(whole / kSecondsPerMinute % kSecondsPerMinute),
                  static_cast<long long>(whole % kSecondsPerMinute));
    return text.data();
}

} // namespace zanto
