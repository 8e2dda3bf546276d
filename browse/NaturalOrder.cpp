#include "NaturalOrder.h"

#include "rename/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

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
    // All keys in one buffer: one allocation, and comparisons stay in cache.
    std::size_t bound = 0;
    for (const auto& name : names)
        bound += keyBound(name.size());
    const std::unique_ptr<char[]> buffer(new char[bound]);

    // The first 16 key bytes ride along as two integers, which settle most
    // comparisons without touching the buffer.
    struct Entry {
        std::uint64_t head;
        std::uint64_t next;
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t index;
    };
    // Up to 8 bytes from `bytes` as a big-endian number, zero-padded.
    const auto bigEndian = [](const char* bytes, std::size_t size) {
        unsigned char padded[8] = {};
        std::memcpy(padded, bytes, std::min<std::size_t>(size, 8));
        std::uint64_t value = 0;
        for (const unsigned char byte : padded)
            value = (value << 8) | byte;
        return value;
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    char* out = buffer.get();
    for (std::size_t i = 0; i < names.size(); ++i) {
        char* const key = out;
        out = writeKey(names[i], key);
        const auto length = static_cast<std::size_t>(out - key);
        entries.push_back({bigEndian(key, length), length > 8 ? bigEndian(key + 8, length - 8) : 0,
                           static_cast<std::uint32_t>(key - buffer.get()), static_cast<std::uint32_t>(length),
                           static_cast<std::uint32_t>(i)});
    }

    const std::string_view keys(buffer.get(), static_cast<std::size_t>(out - buffer.get()));
    const auto less = [&](const Entry& x, const Entry& y) {
        if (x.head != y.head)
            return x.head < y.head;
        if (x.next != y.next)
            return x.next < y.next;
        const int order = keys.substr(x.offset, x.length).compare(keys.substr(y.offset, y.length));
        if (order != 0)
            return order < 0;
        return names[x.index] < names[y.index];
    };
    // A big folder is ordered by its first 16 key bytes without comparisons:
    // one stable pass per byte, least significant first, skipping bytes every
    // entry shares. Only entries alike in all 16 go through the full comparison.
    constexpr std::size_t kRadixFrom = 1024;
    if (entries.size() < kRadixFrom) {
        std::sort(entries.begin(), entries.end(), less);
    } else {
        const auto byteOf = [](const Entry& entry, int pass) {
            const std::uint64_t word = pass < 8 ? entry.next : entry.head;
            return static_cast<std::size_t>((word >> (8 * (pass % 8))) & 0xFF);
        };
        std::vector<std::array<std::uint32_t, 256>> counts(16);
        for (const Entry& entry : entries) {
            for (int pass = 0; pass < 16; ++pass)
                ++counts[static_cast<std::size_t>(pass)][byteOf(entry, pass)];
        }
        std::vector<Entry> spare(entries.size());
        for (int pass = 0; pass < 16; ++pass) {
            auto& slots = counts[static_cast<std::size_t>(pass)];
            if (slots[byteOf(entries.front(), pass)] == entries.size())
                continue;
            std::uint32_t position = 0;
            for (std::uint32_t& slot : slots)
                position += std::exchange(slot, position);
            for (const Entry& entry : entries)
                spare[slots[byteOf(entry, pass)]++] = entry;
            entries.swap(spare);
        }
        for (auto first = entries.begin(); first != entries.end();) {
            auto last = std::next(first);
            while (last != entries.end() && last->head == first->head && last->next == first->next)
                ++last;
            if (std::distance(first, last) > 1)
                std::sort(first, last, less);
            first = last;
        }
    }

    std::vector<std::string> ordered;
    ordered.reserve(names.size());
    for (const Entry& entry : entries)
        ordered.push_back(std::move(names[entry.index]));
    names = std::move(ordered);
}

} // namespace zanto
