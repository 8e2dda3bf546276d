#pragma once

#include "rename/BatchRename.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace zanto::test {

using Contents = std::map<std::string, std::string>;

constexpr double kDraw17 = 0.32; // Int(0.32 * 50) + 1 = 17: prefix 連番17変換失敗

// What a folder must hold after renaming: the same contents, each moved file
// under its new name, every other file where it was.
inline Contents movedContents(const Contents& before, const std::map<std::string, std::string>& moves)
{
    Contents after = before;
    for (const auto& [from, to] : moves)
        after.erase(from);
    for (const auto& [from, to] : moves)
        after[to] = before.at(from);
    return after;
}

// Numbers in [0, 1) from a fixed list, the last one repeated.
inline RandomSource fixedRandom(std::vector<double> values)
{
    return [values = std::move(values), next = std::size_t{0}]() mutable {
        const double value = values[std::min(next, values.size() - 1)];
        ++next;
        return value;
    };
}

} // namespace zanto::test
