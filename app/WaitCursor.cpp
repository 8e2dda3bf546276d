#include "WaitCursor.h"

#include <QApplication>

namespace zanto {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    release();
}

void WaitCursor::release()
{
    if (m_active)
        QApplication::restoreOverrideCursor();
    m_active = false;
}

} // namespace zanto
