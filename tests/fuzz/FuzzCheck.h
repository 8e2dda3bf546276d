#pragma once

#include <cstdio>
#include <cstdlib>

namespace zanto::fuzz {

// A broken property ends the run as a crash does, so libFuzzer keeps the input.
inline void require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

} // namespace zanto::fuzz
