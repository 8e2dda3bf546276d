#include "rename/PortableName.h"

#include "rename/AsciiCase.h"
#include "rename/Utf8Text.h"

#include <algorithm>
#include <array>

namespace zanto {

namespace {

constexpr std::size_t kMostNameBytes = 255;
// Windows' MAX_PATH, its final NUL included.
constexpr std::size_t kMostPathUnits = 260;

// Windows takes these for devices, with any extension and in any case.
bool isDeviceName(std::string_view name)
{
    std::string stem = asciiFolded(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    static constexpr std::array<std::string_view, 4> kPlain{"con", "prn", "aux", "nul"};
    if (std::find(kPlain.begin(), kPlain.end(), stem) != kPlain.end())
        return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1'
        && stem[3] <= '9';
}

// Half-width katakana and the vendor signs of the old Japanese code pages
// (circled numbers, Roman numerals, squared words, ㈱, №, ℡).
bool isMachineDependent(char32_t code)
{
    return (code >= 0xFF61 && code <= 0xFF9F) || (code >= 0x2460 && code <= 0x2473)
        || (code >= 0x2160 && code <= 0x217F) || (code >= 0x3300 && code <= 0x33FF)
        || (code >= 0x3231 && code <= 0x3239) || (code >= 0x32A4 && code <= 0x32A8) || code == 0x2116
        || code == 0x2121;
}

} // namespace

NameMarks travelMarks(std::string_view name, std::size_t folderUnits)
{
    NameMarks marks;
    if (isDeviceName(name))
        marks |= NameMark::ReservedOnWindows;
    if (!name.empty() && (name.back() == '.' || name.back() == ' '))
        marks |= NameMark::TrailingDotOrSpace;
    if (name.size() > kMostNameBytes)
        marks |= NameMark::TooManyBytes;
    for (std::size_t pos = 0; pos < name.size();) {
        const Utf8Char ch = utf8CharAt(name, pos);
        if (ch.valid && isMachineDependent(ch.code))
            marks |= NameMark::MachineDependent;
        pos += ch.length;
    }
    // The folder, a separator, the name and the final NUL.
    if (folderUnits + 1 + utf16Length(name) + 1 > kMostPathUnits)
        marks |= NameMark::PathTooLong;
    return marks;
}

} // namespace zanto
