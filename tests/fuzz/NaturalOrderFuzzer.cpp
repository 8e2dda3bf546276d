// Natural order over any set of names (one per line): a strict total order,
// numbers compared by value, and sorting agreeing with the comparison.
#include "browse/NaturalOrder.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zanto::naturalLess;
using zanto::fuzz::require;

bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

char fold(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Walks both names: digit runs compare by value (a run sorts where the digit
// "0" would among other characters), other bytes by their folded value.
int referenceCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            while (i + 1 < endA && a[i] == '0')
                ++i;
            while (j + 1 < endB && b[j] == '0')
                ++j;
            const std::string_view x = a.substr(i, endA - i);
            const std::string_view y = b.substr(j, endB - j);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y); order != 0)
                return order;
            i = endA;
            j = endB;
            continue;
        }
        const auto x = static_cast<unsigned char>(isDigit(a[i]) ? '0' : fold(a[i]));
        const auto y = static_cast<unsigned char>(isDigit(b[j]) ? '0' : fold(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size() && names.size() < 64) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        names.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }

    for (const std::string& a : names) {
        require(!naturalLess(a, a), "irreflexive");
        for (const std::string& b : names) {
            const bool less = naturalLess(a, b);
            const int reference = referenceCompare(a, b);
            require(less == (reference < 0), "agrees with the reference order");
            require(less || naturalLess(b, a) || a == b, "total");
            require(!(less && naturalLess(b, a)), "asymmetric");
            if (zanto::naturalSortKey(a) < zanto::naturalSortKey(b))
                require(less, "key order is the natural order");
        }
    }

    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return naturalLess(a, b);
    });
    std::vector<std::string> sorted = names;
    zanto::sortNaturally(sorted);
    require(sorted == expected, "sorting agrees with the comparison");
    return 0;
}
