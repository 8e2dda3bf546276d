#pragma once

#include "SettingsStore.h"

namespace zanto {

// Keeps each application's values in <user config folder>/<application>/<application>.ini
// (on Linux $XDG_CONFIG_HOME, by default ~/.config), one INI group per section.
// Values are plain text: a hand-edited "VORIS=*.png;*.jpg" reads whole, since
// ";" and "," mean nothing inside a value here. Quoted values, as earlier
// versions wrote them, are unquoted. Storing rewrites only the one line and
// keeps every other line as it stood; the file is replaced atomically, or
// left as it was when it cannot be written. A missing or unreadable file
// reads as empty values.
class IniSettingsStore final : public SettingsStore {
public:
    QString read(const QString& application, const QString& section, const QString& name) const override;
    [[nodiscard]] bool store(const QString& application, const QString& section, const QString& name,
                             const QString& value) override;
};

} // namespace zanto
