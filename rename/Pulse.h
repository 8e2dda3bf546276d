#pragma once

#include <functional>

namespace zanto {

// Called now and then during long work, so that the caller can keep a window
// answering; cheap to call often (the window's side decides when to act).
using Pulse = std::function<void()>;

inline void beat(const Pulse& pulse)
{
    if (pulse)
        pulse();
}

} // namespace zanto
