// The file list's filter against any pattern and name. Where both are valid
// UTF-8 the result is compared with a plain dynamic-programming matcher.
#include "browse/WildcardPattern.h"
#include "tests/fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zanto::fuzz::isValidUtf8;
using zanto::fuzz::require;

char fold(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::size_t charLength(std::string_view name, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(name[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, name.size() - pos);
}

// match[p][n]: pattern from p matches name from n. Valid UTF-8 only.
bool referenceMatch(std::string_view pattern, std::string_view name)
{
    const std::size_t columns = name.size() + 1;
    std::vector<char> match((pattern.size() + 1) * columns, 0);
    auto at = [&](std::size_t p, std::size_t n) -> char& { return match[p * columns + n]; };
    at(pattern.size(), name.size()) = 1;
    for (std::size_t p = pattern.size(); p-- > 0;) {
        for (std::size_t n = name.size() + 1; n-- > 0;) {
            const char wanted = fold(pattern[p]);
            bool result = false;
            if (wanted == '*')
                result = at(p + 1, n) || (n < name.size() && at(p, n + charLength(name, n)));
            else if (wanted == '?')
                result = n < name.size() && at(p + 1, n + charLength(name, n));
            else
                result = n < name.size() && fold(name[n]) == wanted && at(p + 1, n + 1);
            at(p, n) = result ? 1 : 0;
        }
    }
    return at(0, 0) != 0;
}

bool referenceMatches(std::string_view patterns, std::string_view name)
{
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string_view::npos)
            end = patterns.size();
        const std::string_view piece = patterns.substr(start, end - start);
        start = end + 1;
        if (!piece.empty() && referenceMatch(piece, name))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string patterns = input.ConsumeRandomLengthString(256);
    const std::string name = input.ConsumeRemainingBytesAsString();

    const zanto::WildcardPattern filter(patterns);
    const bool matched = filter.matches(name);
    if (patterns.size() * name.size() <= 1 << 16 && isValidUtf8(patterns) && isValidUtf8(name))
        require(matched == referenceMatches(patterns, name), "filter agrees with the reference matcher");
    return 0;
}
