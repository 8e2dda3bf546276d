// The stored extension list: any text read back from the settings store, and
// any list the dialog stores.
#include "app/VorisCodec.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using zanto::VorisCodec;
using zanto::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view stored(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> entries = VorisCodec::split(stored);
    require(entries.size() <= VorisCodec::kMaxEntries, "split keeps at most the bound");
    for (const std::string& entry : entries)
        require(!entry.empty() && entry.find(';') == std::string::npos, "split entries are non-empty pieces");
    require(VorisCodec::split(VorisCodec::join(entries)) == entries, "a split list stores and reads back the same");

    // The same bytes as a list the dialog holds, one entry per line.
    std::vector<std::string> list;
    std::size_t start = 0;
    while (start < stored.size()) {
        std::size_t end = stored.find('\n', start);
        if (end == std::string_view::npos)
            end = stored.size();
        std::string entry(stored.substr(start, end - start));
        std::erase(entry, ';');
        if (!entry.empty())
            list.push_back(std::move(entry));
        start = end + 1;
    }
    const std::string joined = VorisCodec::join(list);
    const std::vector<std::string> back = VorisCodec::split(joined);
    const std::size_t kept = std::min(list.size(), VorisCodec::kMaxEntries);
    require(back.size() == kept && std::equal(back.begin(), back.end(), list.begin()),
            "a stored list reads back as its first entries, in order");
    if (!list.empty())
        require(joined.ends_with(list.front()) && joined.starts_with(list[kept - 1]), "last entry stored first");
    return 0;
}
