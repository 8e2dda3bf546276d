#pragma once

#include <string>
#include <string_view>

namespace zanto {

// Letter case as file systems that ignore it see it: ASCII letters only, every
// other byte (UTF-8 and Shift_JIS sequences included) as it stands.
inline char asciiLower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string asciiFolded(std::string_view text);

// True when the two differ at most in the case of ASCII letters.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace zanto
