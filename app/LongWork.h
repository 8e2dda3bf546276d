#pragma once

#include <QElapsedTimer>

#include <chrono>
#include <functional>

namespace zanto {

// A command that takes long (a batch, an undo, a date ordering) keeps the
// window painted and answering the window system's liveness pings, so that
// the desktop does not offer to kill it halfway. User input stays queued as
// before, and nothing else may run inside the command: timers and sockets
// (a folder handed over by a second start) wait, and a close request is held
// until the command has ended.
class LongWork {
public:
    // Runs `command`; true when the window was asked to close meanwhile.
    // Should `command` throw, the run ends all the same (a close request
    // held meanwhile is dropped) and the exception goes on to the caller.
    bool run(const std::function<void()>& command);
    bool running() const { return m_depth > 0; }
    // A close request during the command: taken up when it ends.
    void holdClose() { m_closeHeld = true; }

    // Handles the window system's events, user input excluded; cheap enough
    // to be called per file, it works at most once per kPumpInterval.
    void keepAlive();
    // Well under the 100 ms a liveness ping may wait, and rare enough to cost
    // nothing next to the renames.
    static constexpr std::chrono::milliseconds kPumpInterval{20};

private:
    int m_depth = 0;
    bool m_closeHeld = false;
    QElapsedTimer m_sincePump;
};

} // namespace zanto
