#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zanto {

// The order people expect for numbered files: runs of digits compare as
// numbers ("IMG_9" before "IMG_10", "IMG_007" beside "IMG_7"), ASCII letter
// case is ignored, and names equal under those rules fall back to their raw
// bytes, so the order is total and the same on every run.

// A byte string whose plain byte-wise order is the natural order (ties aside).
// Sorting many names computes it once per name.
std::string naturalSortKey(std::string_view name);
// The same appended to `keys`.
void appendNaturalSortKey(std::string_view name, std::vector<char>& keys);

// Natural "a before b", ties broken by the raw bytes.
bool naturalLess(std::string_view a, std::string_view b);

// Sorts `names` into natural order.
void sortNaturally(std::vector<std::string>& names);

// Puts many names into natural order (above) while they come in.
// Each name is keyed as it is added, and every few thousand are ordered
// among themselves and merged with the runs before, so that a folder read in
// batches is mostly ordered by the time its last entry has been read.
class NaturalOrder {
public:
    NaturalOrder() = default;
    // Names all at hand, ordered as one run.
    explicit NaturalOrder(std::vector<std::string> names);

    void add(std::string name);
    // The names added, in natural order; it is then empty again.
    std::vector<std::string> sorted();

private:
    // The first 16 key bytes ride along as two big-endian numbers (zero-padded),
    // which settle most comparisons without touching the keys.
    struct Entry {
        std::uint64_t head;
        std::uint64_t next;
        std::uint32_t index; // in m_names, and of the key
    };

    bool less(const Entry& x, const Entry& y) const
    {
        if (x.head != y.head)
            return x.head < y.head;
        if (x.next != y.next)
            return x.next < y.next;
        return lessBeyondHeads(x, y);
    }
    // Keys alike in their first 16 bytes: the rest of them, then the names' bytes.
    bool lessBeyondHeads(const Entry& x, const Entry& y) const;
    // Keys the name at the next position.
    void keyNext(const std::string& name);
    // Orders the entries added since the last run as a run of their own.
    void closeRun();
    void orderRun(Entry* first, Entry* last);
    void mergeLastRuns();

    std::vector<std::string> m_names; // as added
    std::vector<char> m_keys; // all keys, one after another
    std::vector<std::uint32_t> m_keyEnds; // where each key ends in m_keys
    std::vector<Entry> m_entries;
    std::vector<Entry> m_spare; // room for ordering and merging runs
    std::vector<std::size_t> m_runs {0}; // where each ordered run of m_entries starts, and the end
    bool m_inBatches = true; // runs are ordered as the names come in
};

} // namespace zanto
