#pragma once

#include <atomic>
#include <chrono>
#include <thread>

namespace zanto::test {

// Holds a worker where it passes until opened; after ten seconds it
// opens by itself and tells: the thread that should have opened it waited.
struct Gate {
    std::atomic<bool> entered = false, opened = false, timedOut = false;
    void pass()
    {
        entered = true;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!opened && !(timedOut = std::chrono::steady_clock::now() > until))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

} // namespace zanto::test
