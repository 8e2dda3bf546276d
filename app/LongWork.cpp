#include "LongWork.h"

#include <QCoreApplication>

namespace zanto {

namespace {

// Well under the 100 ms a liveness ping may wait, and rare enough to cost
// nothing next to the renames.
constexpr qint64 kPumpIntervalMs = 20;

} // namespace

bool LongWork::run(const std::function<void()>& command)
{
    ++m_depth;
    m_sincePump.start();
    command();
    --m_depth;
    if (m_depth > 0)
        return false;
    const bool close = m_closeHeld;
    m_closeHeld = false;
    return close;
}

void LongWork::keepAlive()
{
    if (m_depth == 0 || (m_sincePump.isValid() && m_sincePump.elapsed() < kPumpIntervalMs))
        return;
    // Timers and socket notifiers stay out: a handed-over folder, or anything
    // else started by them, would otherwise run inside the command.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers
                                    | QEventLoop::X11ExcludeTimers);
    m_sincePump.start();
}

} // namespace zanto
