#pragma once

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

} // namespace zanto
