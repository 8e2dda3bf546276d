#pragma once

#include "ui/ShellOpener.h"

#include <QStringList>

namespace zanto::test {

// Records what the program asked the desktop to open; a desktop that cannot
// open files (`fails`) says so at once.
class LoggingOpener final : public ShellOpener {
public:
    void openPath(const QString& path, Failed failed) override
    {
        opened.append(QStringLiteral("path ") + path);
        if (fails)
            failed();
    }
    void openAddress(const QString& address) override { opened.append(QStringLiteral("address ") + address); }
    QStringList opened;
    bool fails = false;
};

} // namespace zanto::test
