#include "LongWork.h"

#include <QCoreApplication>

namespace zanto {

bool LongWork::run(const std::function<void()>& command)
{
    // However the command ends, a thrown exception included, the run is over
    // when this leaves; the outermost run takes the held close request along.
    struct Running {
        LongWork& work;
        explicit Running(LongWork& running) : work(running) { ++work.m_depth; }
        ~Running()
        {
            if (--work.m_depth == 0)
                work.m_closeHeld = false;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
    };
    const Running running(*this);
    m_sincePump.start();
    command();
    return m_depth == 1 && m_closeHeld;
}

void LongWork::keepAlive()
{
    if (m_depth == 0 || (m_sincePump.isValid() && m_sincePump.elapsed() < kPumpInterval.count()))
        return;
    // Timers and socket notifiers stay out: a handed-over folder, or anything
    // else started by them, would otherwise run inside the command.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers
                                    | QEventLoop::X11ExcludeTimers);
    m_sincePump.start();
}

} // namespace zanto
