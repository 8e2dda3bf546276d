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

    // True when this copy holds the lock (no other copy runs).
    bool acquire();

    static QString defaultLockPath();

private:
    QLockFile m_lock;
};

} // namespace zanto
