#include "listing/CaptureMoment.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace zanto {

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int32_t kNsPerSecond = 1'000'000'000;
constexpr int kDigitsOfSecond = 9;
constexpr int kLatestOffsetMinutes = 14 * CaptureMoment::kMinutesPerHour; // Kiribati's +14:00

struct Civil {
    std::int64_t year;
    int month, day, hour, minute, second;
};

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

Civil civilFrom(std::int64_t seconds)
{
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0)
        rest += kSecondsPerDay, --days;
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const std::int64_t dayOfEra = days - era * 146'097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
            static_cast<int>(rest % 60)};
}

bool leapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Seconds of a date and time whose every field is in range; none otherwise.
std::optional<std::int64_t> secondsOf(const Civil& c)
{
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (c.month < 1 || c.month > 12 || c.hour > 23 || c.minute > 59 || c.second > 59 || c.day < 1)
        return std::nullopt;
    if (c.day > kDays[c.month - 1] + (c.month == 2 && leapYear(c.year) ? 1 : 0))
        return std::nullopt;
    return daysFromCivil(c.year, c.month, c.day) * kSecondsPerDay + c.hour * 3600 + c.minute * 60 + c.second;
}

// Reads the decimal digits of `text` at `at`, `count` of them; none unless all are digits.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY?MM?DD?HH:MM:SS" with the separators given.
std::optional<std::int64_t> clockOf(std::string_view text, char dateSeparator, char between)
{
    if (text.size() < 19 || text[4] != dateSeparator || text[7] != dateSeparator || text[10] != between ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    return secondsOf({*year, *month, *day, *hour, *minute, *second});
}

// The leading digits of a decimal fraction, as nanoseconds.
std::int32_t fractionOf(std::string_view digitsOfFraction)
{
    std::int32_t ns = 0;
    int place = 0;
    for (; place < kDigitsOfSecond && place < static_cast<int>(digitsOfFraction.size()); ++place) {
        const char c = digitsOfFraction[static_cast<std::size_t>(place)];
        if (c < '0' || c > '9')
            break;
        ns = ns * 10 + (c - '0');
    }
    for (; place < kDigitsOfSecond; ++place)
        ns *= 10;
    return ns;
}

// A value without the NULs and blanks that pad it in its field.
std::string_view withoutPadding(std::string_view text)
{
    while (!text.empty() && (text.back() == '\0' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

// The machine's offset from UTC at an instant, in seconds.
std::optional<std::int64_t> machineOffsetAt(std::int64_t utc)
{
    const auto seconds = static_cast<std::time_t>(utc);
    std::tm wall{};
    if (localtime_r(&seconds, &wall) == nullptr)
        return std::nullopt;
    return wall.tm_gmtoff;
}

} // namespace

std::optional<CaptureMoment> CaptureMoment::fromExif(std::string_view date, std::string_view subSeconds)
{
    if (date.size() != 19 || date == "0000:00:00 00:00:00")
        return std::nullopt;
    const auto clock = clockOf(date, ':', ' ');
    if (!clock)
        return std::nullopt;
    return CaptureMoment(*clock, fractionOf(subSeconds), Zone::Unknown, 0);
}

std::optional<CaptureMoment> CaptureMoment::fromIso(std::string_view text)
{
    text = withoutPadding(text);
    const auto clock = clockOf(text, '-', 'T');
    if (!clock)
        return std::nullopt;
    std::size_t at = 19;
    std::int32_t ns = 0;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        ns = fractionOf(text.substr(at + 1));
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        }
    }
    const std::string_view zone = text.substr(at);
    if (zone == "Z")
        return CaptureMoment(*clock, ns, Zone::Recorded, 0);
    std::string withColon(zone);
    if (withColon.size() == 5) // "+0900"
        withColon.insert(3, ":");
    const auto offset = offsetMinutesOf(withColon);
    if (!offset)
        return std::nullopt;
    return CaptureMoment(*clock, ns, Zone::Recorded, *offset);
}

std::optional<CaptureMoment> CaptureMoment::fromUtc(std::int64_t seconds, std::int32_t nanoseconds)
{
    const auto offset = machineOffsetAt(seconds);
    if (!offset || nanoseconds < 0 || nanoseconds >= kNsPerSecond)
        return std::nullopt;
    return CaptureMoment(seconds + *offset, nanoseconds, Zone::Utc, static_cast<int>(*offset / kSecondsPerMinute));
}

std::optional<int> CaptureMoment::offsetMinutesOf(std::string_view text)
{
    text = withoutPadding(text);
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    const auto hours = digits(text, 1, 2), minutes = digits(text, 4, 2);
    if (!hours || !minutes || *minutes > 59)
        return std::nullopt;
    const int offset = *hours * kMinutesPerHour + *minutes;
    if (offset > kLatestOffsetMinutes)
        return std::nullopt;
    return text[0] == '-' ? -offset : offset;
}

void CaptureMoment::recordOffset(int minutes)
{
    m_zone = Zone::Recorded;
    m_offsetMinutes = minutes;
}

std::optional<int> CaptureMoment::offsetMinutes() const
{
    if (m_zone == Zone::Unknown)
        return std::nullopt;
    return m_offsetMinutes;
}

std::int64_t CaptureMoment::utcSeconds(std::optional<int> assumedMinutes) const
{
    if (m_zone != Zone::Unknown)
        return m_clock - m_offsetMinutes * kSecondsPerMinute;
    return m_clock - assumedMinutes.value_or(machineOffsetMinutes(m_clock)) * kSecondsPerMinute;
}

int CaptureMoment::machineOffsetMinutes(std::int64_t clockSeconds)
{
    // Its offset near this time, then at the instant that gives, which
    // settles a clock read across a change of summer time.
    const std::int64_t guess = clockSeconds - machineOffsetAt(clockSeconds).value_or(0);
    return static_cast<int>(machineOffsetAt(guess).value_or(0) / kSecondsPerMinute);
}

std::string CaptureMoment::text() const
{
    const Civil c = civilFrom(m_clock);
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%04lld:%02d:%02d %02d:%02d:%02d.%09d", static_cast<long long>(c.year),
                  c.month, c.day, c.hour, c.minute, c.second, static_cast<int>(m_nanoseconds));
    return text.data();
}

CaptureMoment CaptureMoment::shifted(std::int64_t seconds) const
{
    CaptureMoment moved = *this;
    moved.m_clock += seconds;
    return moved;
}

} // namespace zanto
