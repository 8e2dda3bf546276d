#pragma once

#include "ShellOpener.h"

namespace zanto {

// Opens through QDesktopServices (xdg-open on Linux desktops).
class QtShellOpener final : public ShellOpener {
public:
    void openPath(const QString& path) override;
    void openAddress(const QString& address) override;
};

} // namespace zanto
