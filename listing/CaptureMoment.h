#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zanto {

// The moment a file was taken as its camera's clock read it: the date and
// time as written, to the nanosecond, and how it relates to UTC. A photo
// that records its offset (EXIF OffsetTimeOriginal, a video's zoned date) is
// an instant; one that does not is a wall-clock time whose offset the
// caller assumes; a video's header holds an instant in UTC, read on the
// machine's clock.
class CaptureMoment {
public:
    enum class Zone {
        Unknown,  // the clock as written, offset unknown
        Recorded, // the offset is the file's own
        Utc,      // an instant; the offset is the machine's at that instant
    };
    static constexpr int kMinutesPerHour = 60;

    // An EXIF date, "YYYY:MM:DD HH:MM:SS", and its sub-seconds: the digits of
    // a decimal fraction ("12" is 0.12 s). None when the date is not well formed.
    static std::optional<CaptureMoment> fromExif(std::string_view date, std::string_view subSeconds = {});
    // An ISO 8601 date and time with its offset ("2024-05-01T10:00:00+09:00",
    // "+0900", "Z"), a fraction or not; none without an offset.
    static std::optional<CaptureMoment> fromIso(std::string_view text);
    // An instant, shown on the machine's clock.
    static std::optional<CaptureMoment> fromUtc(std::int64_t seconds, std::int32_t nanoseconds = 0);
    // The machine's offset, in minutes, for a clock reading `clockSeconds`.
    static int machineOffsetMinutes(std::int64_t clockSeconds);
    // EXIF's offset, "+09:00" or "-05:30"; none when not well formed.
    static std::optional<int> offsetMinutesOf(std::string_view text);

    // The offset the file records for its clock.
    void recordOffset(int minutes);

    Zone zone() const { return m_zone; }
    // The offset east of UTC, in minutes, where it is known.
    std::optional<int> offsetMinutes() const;
    std::int32_t nanoseconds() const { return m_nanoseconds; }
    // Seconds since 1970 on the clock's own reading: the same digits as text().
    std::int64_t clockSeconds() const { return m_clock; }
    // Seconds since 1970 in UTC. A clock of unknown offset reads in
    // `assumedMinutes`, else in the machine's zone at that time.
    std::int64_t utcSeconds(std::optional<int> assumedMinutes) const;
    // "YYYY:MM:DD HH:MM:SS.fffffffff", as the clock read it.
    std::string text() const;

    // The clock moved by `seconds`: a camera set wrong, put right.
    CaptureMoment shifted(std::int64_t seconds) const;

    bool operator==(const CaptureMoment& other) const = default;

private:
    CaptureMoment(std::int64_t clock, std::int32_t nanoseconds, Zone zone, int offsetMinutes)
        : m_clock(clock), m_nanoseconds(nanoseconds), m_zone(zone), m_offsetMinutes(offsetMinutes)
    {
    }

    std::int64_t m_clock = 0;
    std::int32_t m_nanoseconds = 0;
    Zone m_zone = Zone::Unknown;
    int m_offsetMinutes = 0; // with Recorded and Utc
};

} // namespace zanto
