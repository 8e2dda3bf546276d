#include "NameRules.h"

#include <algorithm>

namespace zanto {

bool isForbiddenChar(char32_t ch)
{
    return ch < 0x80 && FORBIDDEN_CHARS.find(static_cast<char>(ch)) != std::string_view::npos;
}

bool containsForbidden(std::string_view text)
{
    // UTF-8 continuation and lead bytes are >= 0x80, so a byte search cannot
    // mistake part of a multi-byte character for one of the signs.
    return text.find_first_of(FORBIDDEN_CHARS) != std::string_view::npos;
}

bool containsControl(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x20; });
}

} // namespace zanto
