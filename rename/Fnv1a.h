#pragma once

#include <cstdint>
#include <string_view>

namespace zanto {

inline constexpr std::uint64_t kFnvBasis = 14695981039346656037ull;

// FNV-1a, 64 bits: a fast check sum of bytes, carried on from `hash`.
inline std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = kFnvBasis)
{
    for (const char ch : bytes) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace zanto
