#include "listing/FrameCounter.h"

#include "rename/FileNameParts.h"

#include <algorithm>
#include <map>

namespace zanto {

namespace {

constexpr std::size_t kWidestCounter = 9; // wider is a date or a time, not a count

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<FrameCounter> FrameCounter::of(const std::string& name)
{
    const std::string stem = stemOf(name);
    std::size_t end = stem.size();
    while (end > 0 && !isDigit(stem[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && isDigit(stem[start - 1]))
        --start;
    const std::size_t width = end - start;
    if (width == 0 || width > kWidestCounter)
        return std::nullopt;
    FrameCounter counter{stem.substr(0, start) + '/' + std::to_string(width), std::stoull(stem.substr(start, width)), 1};
    for (std::size_t i = 0; i < width; ++i)
        counter.modulus *= 10;
    return counter;
}

void FrameCounter::continueWraps(std::vector<FrameCounter*>& counters)
{
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> spans; // family: lowest, highest
    for (const FrameCounter* counter : counters) {
        const auto span = spans.try_emplace(counter->family, counter->number, counter->number).first;
        span->second.first = std::min(span->second.first, counter->number);
        span->second.second = std::max(span->second.second, counter->number);
    }
    for (FrameCounter* counter : counters) {
        const auto& [lowest, highest] = spans.at(counter->family);
        if (highest - lowest > counter->modulus / 2 && counter->number < counter->modulus / 2)
            counter->number += counter->modulus;
    }
}

} // namespace zanto
