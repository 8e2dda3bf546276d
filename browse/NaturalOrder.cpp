#include "NaturalOrder.h"

#include "rename/AsciiCase.h"

#include <algorithm>
#include <array>
#include <bit>
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

void NaturalSorter::reserve(std::size_t names)
{
    m_names.reserve(names);
    m_entries.reserve(names);
}

void NaturalSorter::add(std::string name)
{
    // A name of up to 255 bytes is keyed on the stack.
    std::array<char, keyBound(255)> local;
    std::string spill;
    char* key = local.data();
    if (keyBound(name.size()) > local.size()) {
        spill.resize(keyBound(name.size()));
        key = spill.data();
    }
    char* const end = writeKey(name, key);
    const auto length = static_cast<std::size_t>(end - key);
    const auto word = [&](std::size_t from) {
        std::uint64_t value = 0;
        for (std::size_t at = from; at < from + 8; ++at)
            value = (value << 8) | (at < length ? static_cast<unsigned char>(key[at]) : 0U);
        return value;
    };
    m_entries.push_back({word(0), word(8), static_cast<std::uint32_t>(m_names.size()),
                         static_cast<std::uint32_t>(m_keys.size()), static_cast<std::uint32_t>(length)});
    m_keys.insert(m_keys.end(), key, end);
    m_names.push_back(std::move(name));
    if (m_entries.size() - m_runs.back() == kRun)
        closeRun();
}

std::vector<std::string> NaturalSorter::sorted()
{
    if (m_entries.size() > m_runs.back())
        closeRun();
    while (m_runs.size() > 2)
        mergeLastRuns();

    // Each name moves once, along the cycles of the permutation; a visited
    // position is marked by pointing at itself.
    std::vector<std::uint32_t> from(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        from[i] = m_entries[i].index;
    for (std::uint32_t start = 0; start < from.size(); ++start) {
        if (from[start] == start)
            continue;
        std::string first = std::move(m_names[start]);
        std::uint32_t at = start;
        while (from[at] != start) {
            m_names[at] = std::move(m_names[from[at]]);
            at = std::exchange(from[at], at);
        }
        m_names[at] = std::move(first);
        from[at] = at;
    }
    std::vector<std::string> names = std::move(m_names);
    *this = NaturalSorter();
    return names;
}

bool NaturalSorter::lessBeyondHeads(const Entry& x, const Entry& y) const
{
    const std::string_view keys(m_keys.data(), m_keys.size());
    const int order = keys.substr(x.key, x.length).compare(keys.substr(y.key, y.length));
    return order != 0 ? order < 0 : m_names[x.index] < m_names[y.index];
}

void NaturalSorter::closeRun()
{
    const auto compare = [this](const Entry& x, const Entry& y) { return less(x, y); };
    std::sort(m_entries.begin() + static_cast<std::ptrdiff_t>(m_runs.back()), m_entries.end(), compare);
    m_runs.push_back(m_entries.size());
    // Runs of like length are merged as they come, as in a binary counter:
    // the work is spread over the adding, and the runs left stay few.
    const auto length = [this](std::size_t fromEnd) {
        return m_runs[m_runs.size() - fromEnd] - m_runs[m_runs.size() - fromEnd - 1];
    };
    while (m_runs.size() > 2 && length(2) <= length(1))
        mergeLastRuns();
}

void NaturalSorter::mergeLastRuns()
{
    const auto compare = [this](const Entry& x, const Entry& y) { return less(x, y); };
    const auto at = [this](std::size_t position) { return m_entries.begin() + static_cast<std::ptrdiff_t>(position); };
    // The earlier run waits in the spare buffer while the merge fills its place.
    const std::size_t first = m_runs[m_runs.size() - 3];
    const std::size_t middle = m_runs[m_runs.size() - 2];
    m_spare.assign(at(first), at(middle));
    std::merge(m_spare.begin(), m_spare.end(), at(middle), at(m_runs.back()), at(first), compare);
    m_runs.erase(m_runs.end() - 2);
}

void sortNaturally(std::vector<std::string>& names)
{
    NaturalSorter sorter;
    sorter.reserve(names.size());
    for (auto& name : names)
        sorter.add(std::move(name));
    names = sorter.sorted();
}

} // namespace zanto
