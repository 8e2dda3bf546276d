#pragma once

#include "ShellOpener.h"

#include <memory>
#include <vector>

class QProcess;

namespace zanto {

// Opens a file through xdg-open, watched to its end, so that a desktop
// without a program for the file is noticed (QDesktopServices only tells
// whether xdg-open started). Without xdg-open, and for addresses, Qt's own
// launcher is asked.
class QtShellOpener final : public ShellOpener {
public:
    QtShellOpener();
    ~QtShellOpener() override;
    QtShellOpener(const QtShellOpener&) = delete;
    QtShellOpener& operator=(const QtShellOpener&) = delete;

    void openPath(const QString& path, Failed failed) override;
    void openAddress(const QString& address) override;

private:
    void forget(QProcess* process);

    std::vector<std::unique_ptr<QProcess>> m_running;
};

} // namespace zanto
