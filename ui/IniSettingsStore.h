#pragma once

#include "SettingsStore.h"

namespace zanto {

// Keeps each application's values in <user config folder>/<application>/<application>.ini
// (on Linux $XDG_CONFIG_HOME, by default ~/.config), one INI group per section.
// A missing or garbled file reads as empty values; QSettings writes the file
// through a temporary and a rename, so a crash never leaves half a file.
class IniSettingsStore final : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& name) const override;
    void store(const QString& application, const QString& section, const QString& name,
               const QString& value) override;
};

} // namespace zanto
