#pragma once

#include <QString>

namespace zanto {

// Per-user text values addressed by application, section and value name.
// Reading a value that was never written gives the empty text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& application, const QString& section, const QString& name) const = 0;
    virtual void store(const QString& application, const QString& section, const QString& name,
                       const QString& value) = 0;
};

} // namespace zanto
