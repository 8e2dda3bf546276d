#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <unistd.h>

namespace zanto {

SingleInstance::SingleInstance(const QString& lockPath)
    : m_path(lockPath.isEmpty() ? defaultLockPath() : lockPath)
{
}

bool SingleInstance::acquire()
{
    if (tryLock(m_path))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError)
        return false;
    // The lock's folder cannot be written: a per-user lock in the temporary
    // folder serves instead.
    const QString fallback = QDir(QDir::tempPath()).filePath(QStringLiteral("TOLVA-%1.lock").arg(getuid()));
    if (fallback != m_path) {
        const QString first = m_path;
        m_path = fallback;
        if (tryLock(m_path))
            return true;
        if (m_lock->error() == QLockFile::LockFailedError)
            return false;
        m_path = first;
    }
    std::fprintf(stderr, "zanto: %s を作れないため、二重起動を確かめずに起動します\n",
                 QFile::encodeName(QDir::toNativeSeparators(m_path)).constData());
    m_lock.reset();
    return true;
}

bool SingleInstance::tryLock(const QString& path)
{
    m_lock = std::make_unique<QLockFile>(path);
    // Never stale by age: a copy that has run for hours still holds it. A
    // lock whose process is gone is stale regardless.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

QString SingleInstance::socketPath() const
{
    const QFileInfo lock(m_path);
    return lock.dir().filePath(lock.completeBaseName() + QStringLiteral(".socket"));
}

QString SingleInstance::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("TOLVA.lock"));
}

} // namespace zanto
