#pragma once

#include <cstdint>

namespace zanto {

// Something about a new name of a run that the user should look at before
// the files move. None of them changes what the run does.
enum class NameMark : std::uint16_t {
    HeldExactly = 1 << 0,     // a file outside the run has the name: this file stays under its temporary name
    HeldInOtherCase = 1 << 1, // a file has the name in another letter case
    HeldInOtherForm = 1 << 2, // a file has the name in another Unicode form
    LeftOut = 1 << 3,         // the shot keeps its old names, every file of it
    ReservedOnWindows = 1 << 4,
    TrailingDotOrSpace = 1 << 5,
    TooManyBytes = 1 << 6,    // more than most file systems take
    PathTooLong = 1 << 7,     // past what many Windows programs open
    MachineDependent = 1 << 8, // half-width kana, ①, ㈱ …: garbled by older systems and archivers
    SidecarApart = 1 << 9,    // a sidecar whose picture does not take its number
    SameContent = 1 << 10,    // another file of the run holds the same bytes
};

// A set of marks.
class NameMarks {
public:
    constexpr NameMarks() = default;
    constexpr NameMarks(NameMark mark) : m_bits(static_cast<std::uint16_t>(mark)) {}

    constexpr bool has(NameMark mark) const { return (m_bits & static_cast<std::uint16_t>(mark)) != 0; }
    constexpr bool any() const { return m_bits != 0; }
    constexpr NameMarks& operator|=(NameMarks other)
    {
        m_bits |= other.m_bits;
        return *this;
    }
    constexpr bool operator==(const NameMarks&) const = default;

private:
    std::uint16_t m_bits = 0;
};

constexpr NameMarks operator|(NameMarks a, NameMarks b)
{
    return a |= b;
}

constexpr NameMarks operator|(NameMark a, NameMark b)
{
    return NameMarks(a) | NameMarks(b);
}

} // namespace zanto
