#include "VorisCodec.h"

#include <algorithm>

namespace zanto {

std::string VorisCodec::join(const std::vector<std::string>& entries)
{
    const std::size_t count = std::min(entries.size(), kMaxEntries);
    std::string text;
    for (std::size_t i = count; i-- > 0;) {
        text += entries[i];
        if (i != 0)
            text += ';';
    }
    return text;
}

std::vector<std::string> VorisCodec::split(std::string_view stored)
{
    std::vector<std::string> entries;
    while (!stored.empty() && entries.size() < kMaxEntries) {
        const std::size_t cut = stored.rfind(';');
        const std::string_view entry = cut == std::string_view::npos ? stored : stored.substr(cut + 1);
        stored = cut == std::string_view::npos ? std::string_view{} : stored.substr(0, cut);
        if (!entry.empty())
            entries.emplace_back(entry);
    }
    return entries;
}

} // namespace zanto
