#include "NaturalOrder.h"

#include "rename/AsciiCase.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace zanto {

namespace {

inline bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// A digit run becomes '0' (so it still sorts where a digit would among other
// characters), its significant length in two bytes, then its significant
// digits: a longer number is a larger one, equal lengths compare digit by digit.
void appendKey(std::string_view name, std::string& key)
{
    std::size_t i = 0;
    while (i < name.size()) {
        const char ch = name[i];
        if (!isDigit(ch)) {
            key.push_back(asciiLower(ch));
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < name.size() && isDigit(name[i]))
            ++i;
        while (start + 1 < i && name[start] == '0')
            ++start;
        const std::size_t length = std::min<std::size_t>(i - start, 0xFFFF);
        key.push_back('0');
        key.push_back(static_cast<char>(length >> 8));
        key.push_back(static_cast<char>(length & 0xFF));
        key.append(name.substr(start, i - start));
    }
}

} // namespace

std::string naturalSortKey(std::string_view name)
{
    std::string key;
    key.reserve(name.size() + 8);
    appendKey(name, key);
    return key;
}

bool naturalLess(std::string_view a, std::string_view b)
{
    const int order = naturalSortKey(a).compare(naturalSortKey(b));
    return order != 0 ? order < 0 : a < b;
}

void sortNaturally(std::vector<std::string>& names)
{
    // All keys in one buffer: one allocation, and comparisons stay in cache.
    std::string buffer;
    std::size_t total = 0;
    for (const auto& name : names)
        total += name.size() + 8;
    buffer.reserve(total);

    // The first 16 key bytes ride along as two integers, which settle most
    // comparisons without touching the buffer.
    struct Entry {
        std::uint64_t head;
        std::uint64_t next;
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t index;
    };
    const auto bigEndian = [](std::string_view bytes) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < 8; ++i)
            value = (value << 8) | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0U);
        return value;
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t offset = buffer.size();
        appendKey(names[i], buffer);
        const std::string_view key = std::string_view(buffer).substr(offset);
        entries.push_back({bigEndian(key), bigEndian(key.size() > 8 ? key.substr(8) : std::string_view()),
                           static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(key.size()),
                           static_cast<std::uint32_t>(i)});
    }

    const std::string_view keys(buffer);
    std::sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
        if (x.head != y.head)
            return x.head < y.head;
        if (x.next != y.next)
            return x.next < y.next;
        const int order = keys.substr(x.offset, x.length).compare(keys.substr(y.offset, y.length));
        if (order != 0)
            return order < 0;
        return names[x.index] < names[y.index];
    });

    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const Entry& entry : entries)
        sorted.push_back(std::move(names[entry.index]));
    names = std::move(sorted);
}

} // namespace zanto
