#include "NaturalOrder.h"

#include "browse/NaturalSorter.h"
#include "rename/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace zanto {

namespace {

inline bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// A digit run becomes '0' (so it still sorts where a digit would among other
// characters), its significant length in two bytes, then its significant
// digits: a longer number is a larger one, equal lengths compare digit by digit.
// Writes to `out`, which must hold keyBound(name.size()) bytes; returns the end.
char* writeKey(std::string_view name, char* out)
{
    const char* at = name.data();
    const char* const end = at + name.size();
    while (at != end) {
        const char ch = *at;
        if (!isDigit(ch)) {
            *out++ = asciiLower(ch);
            ++at;
            continue;
        }
        const char* start = at;
        while (at != end && isDigit(*at))
            ++at;
        while (start + 1 < at && *start == '0')
            ++start;
        const std::size_t digits = static_cast<std::size_t>(at - start);
        const std::size_t length = std::min<std::size_t>(digits, 0xFFFF);
        *out++ = '0';
        *out++ = static_cast<char>(length >> 8);
        *out++ = static_cast<char>(length & 0xFF);
        std::memcpy(out, start, digits);
        out += digits;
    }
    return out;
}

// A one-digit run is the worst case: four key bytes for one name byte.
constexpr std::size_t keyBound(std::size_t nameLength)
{
    return nameLength * 4;
}

} // namespace

void appendNaturalSortKey(std::string_view name, std::vector<char>& keys)
{
    const std::size_t start = keys.size();
    keys.resize(start + keyBound(name.size()));
    keys.resize(static_cast<std::size_t>(writeKey(name, keys.data() + start) - keys.data()));
}

std::string naturalSortKey(std::string_view name)
{
    std::string key(keyBound(name.size()), '\0');
    key.resize(static_cast<std::size_t>(writeKey(name, key.data()) - key.data()));
    return key;
}

bool naturalLess(std::string_view a, std::string_view b)
{
    const int order = naturalSortKey(a).compare(naturalSortKey(b));
    return order != 0 ? order < 0 : a < b;
}

void sortNaturally(std::vector<std::string>& names)
{
    names = NaturalSorter(std::move(names)).sorted();
}

} // namespace zanto
