#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace zanto {

SingleInstance::SingleInstance(const QString& lockPath)
    : m_lock(lockPath.isEmpty() ? defaultLockPath() : lockPath)
{
    // Never stale by age: a copy that has run for hours still holds it. A
    // lock whose process is gone is stale regardless.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("TOLVA.lock"));
}

} // namespace zanto
