#pragma once

#include <string_view>

namespace zanto {

// The twelve characters a typed name may not hold. Only these single-byte
// signs are refused; their full-width forms are ordinary characters.
inline constexpr std::string_view FORBIDDEN_CHARS = "/\\:,;*?|<>\".";

// Key filter: true when a typed character must be refused.
bool isForbiddenChar(char32_t ch);

// Whole-text check before a rename: true when any refused character occurs.
bool containsForbidden(std::string_view text);

// True when a C0 control character occurs: pasted into a new name, a NUL
// would cut the path short. Refused with the same message.
bool containsControl(std::string_view text);

} // namespace zanto
