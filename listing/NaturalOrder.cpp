#include "listing/NaturalOrder.h"

#include "rename/AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
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
    names = NaturalOrder(std::move(names)).sorted();
}

NaturalOrder::NaturalOrder(std::vector<std::string> names)
    : m_names(std::move(names))
    , m_inBatches(false)
{
    m_entries.reserve(m_names.size());
    m_keyEnds.reserve(m_names.size());
    for (const std::string& name : m_names)
        keyNext(name);
}

void NaturalOrder::add(std::string name)
{
    keyNext(name);
    m_names.push_back(std::move(name));
    // Runs small enough to stay in cache while the next batch is read.
    constexpr std::size_t kRunLength = 2048;
    if (m_inBatches && m_entries.size() - m_runs.back() == kRunLength)
        closeRun();
}

void NaturalOrder::keyNext(const std::string& name)
{
    const std::size_t start = m_keys.size();
    appendNaturalSortKey(name, m_keys);
    const std::string_view key(m_keys.data() + start, m_keys.size() - start);
    // Eight key bytes from `from` as a big-endian number, zero-padded past the key's end.
    const auto word = [&key](std::size_t from) {
        std::uint64_t value = 0;
        for (std::size_t at = from; at < from + 8; ++at)
            value = (value << 8) | (at < key.size() ? static_cast<unsigned char>(key[at]) : 0U);
        return value;
    };
    m_entries.push_back({word(0), word(8), static_cast<std::uint32_t>(m_entries.size())});
    m_keyEnds.push_back(static_cast<std::uint32_t>(m_keys.size()));
}

std::vector<std::string> NaturalOrder::sorted()
{
    if (m_entries.size() > m_runs.back())
        closeRun();
    // The runs left are few (one per bit of the count of runs): the last
    // merge takes the names straight from their runs into the result.
    struct Run {
        const Entry* next;
        const Entry* end;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i + 1 < m_runs.size(); ++i)
        runs.push_back({m_entries.data() + m_runs[i], m_entries.data() + m_runs[i + 1]});
    std::vector<std::string> names;
    names.reserve(m_names.size());
    while (!runs.empty()) {
        auto least = runs.begin();
        for (auto run = std::next(least); run != runs.end(); ++run) {
            if (less(*run->next, *least->next))
                least = run;
        }
        // The names are gathered out of the order they were read in: the one
        // this run gives a few steps on is fetched meanwhile.
        constexpr std::ptrdiff_t kAhead = 16;
        if (least->end - least->next > kAhead)
            __builtin_prefetch(&m_names[least->next[kAhead].index]);
        names.push_back(std::move(m_names[least->next->index]));
        if (++least->next == least->end)
            runs.erase(least);
    }
    *this = NaturalOrder();
    return names;
}

bool NaturalOrder::lessBeyondHeads(const Entry& x, const Entry& y) const
{
    const auto key = [this](std::uint32_t index) {
        const std::uint32_t begin = index == 0 ? 0 : m_keyEnds[index - 1];
        return std::string_view(m_keys.data() + begin, m_keyEnds[index] - begin);
    };
    const int order = key(x.index).compare(key(y.index));
    return order != 0 ? order < 0 : m_names[x.index] < m_names[y.index];
}

void NaturalOrder::closeRun()
{
    orderRun(m_entries.data() + m_runs.back(), m_entries.data() + m_entries.size());
    m_runs.push_back(m_entries.size());
    // Runs of like length are merged as they come, as in a binary counter:
    // the work is spread over the adding, and the runs left stay few.
    const auto length = [this](std::size_t fromEnd) {
        return m_runs[m_runs.size() - fromEnd] - m_runs[m_runs.size() - fromEnd - 1];
    };
    while (m_runs.size() > 2 && length(2) <= length(1))
        mergeLastRuns();
}

void NaturalOrder::orderRun(Entry* first, Entry* last)
{
    const auto compare = [this](const Entry& x, const Entry& y) { return less(x, y); };
    const auto size = static_cast<std::size_t>(last - first);
    if (size < 64) {
        std::sort(first, last, compare);
        return;
    }
    // By the first 16 key bytes without comparisons: one stable pass per byte,
    // least significant first, skipping bytes every entry shares. Only entries
    // alike in all 16 are then compared in full.
    const auto byteOf = [](const Entry& entry, int pass) {
        const std::uint64_t word = pass < 8 ? entry.next : entry.head;
        return static_cast<std::size_t>((word >> (8 * (pass % 8))) & 0xFF);
    };
    std::array<std::array<std::uint32_t, 256>, 16> counts {};
    for (const Entry* entry = first; entry != last; ++entry) {
        for (int pass = 0; pass < 16; ++pass)
            ++counts[static_cast<std::size_t>(pass)][byteOf(*entry, pass)];
    }
    m_spare.resize(size);
    Entry* from = first;
    Entry* to = m_spare.data();
    for (int pass = 0; pass < 16; ++pass) {
        auto& slots = counts[static_cast<std::size_t>(pass)];
        if (slots[byteOf(*from, pass)] == size)
            continue;
        std::uint32_t position = 0;
        for (std::uint32_t& slot : slots)
            position += std::exchange(slot, position);
        for (const Entry* entry = from; entry != from + size; ++entry)
            to[slots[byteOf(*entry, pass)]++] = *entry;
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + size, first);
    for (Entry* alike = first; alike != last;) {
        Entry* end = alike + 1;
        while (end != last && end->head == alike->head && end->next == alike->next)
            ++end;
        if (end - alike > 1)
            std::sort(alike, end, compare);
        alike = end;
    }
}

void NaturalOrder::mergeLastRuns()
{
    // The earlier run waits in the spare room while the merge fills its place;
    // the output never overtakes the later run it reads in place.
    Entry* out = m_entries.data() + m_runs[m_runs.size() - 3];
    Entry* later = m_entries.data() + m_runs[m_runs.size() - 2];
    Entry* const end = m_entries.data() + m_runs.back();
    m_spare.assign(out, later);
    const Entry* earlier = m_spare.data();
    const Entry* const earlierEnd = earlier + m_spare.size();
    while (earlier != earlierEnd && later != end)
        *out++ = less(*later, *earlier) ? *later++ : *earlier++;
    std::copy(earlier, earlierEnd, out);
    m_runs.erase(m_runs.end() - 2);
}

} // namespace zanto
