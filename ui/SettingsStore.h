#pragma once

#include <QString>

namespace zanto {

// Per-user text values addressed by application, section and value name.
// Reading a value that was never written gives the empty text; storing
// gives false when the value could not be written.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    [[nodiscard]] virtual QString read(const QString& application, const QString& section,
                                       const QString& name) const = 0;
    [[nodiscard]] virtual bool store(const QString& application, const QString& section, const QString& name,
                                     const QString& value) = 0;
};

} // namespace zanto
