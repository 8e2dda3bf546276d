#pragma once

#include <QLockFile>

#include <memory>

namespace zanto {

// One running copy of the program per user. The lock lives in the user's
// runtime folder; a lock left by a copy that crashed is taken over.
class SingleInstance {
public:
    // `lockPath` empty: the default place.
    explicit SingleInstance(const QString& lockPath = {});

    // True when this copy may run: it holds the lock, or no lock could be
    // made anywhere (said in one line on standard error). False only when
    // another running copy holds the lock.
    bool acquire();

    // Where later starts hand their folder over: beside the lock.
    QString socketPath() const;

    static QString defaultLockPath();

private:
    bool tryLock(const QString& path);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace zanto
