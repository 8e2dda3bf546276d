#pragma once

#include <cstddef>
#include <string_view>

namespace zanto {

// One character of a native name: a whole UTF-8 sequence where the bytes
// form a valid one, else a single byte standing for itself.
struct Utf8Char {
    char32_t code = 0;   // the code point; for a stray byte, the byte's value
    std::size_t length = 1;
    bool valid = false;  // false: a byte outside any valid sequence
};

Utf8Char utf8CharAt(std::string_view text, std::size_t pos);

// How many UTF-16 units `text` takes where a platform counts names in them
// (a stray byte counts as one).
std::size_t utf16Length(std::string_view text);

} // namespace zanto
