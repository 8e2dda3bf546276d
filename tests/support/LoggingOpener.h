#pragma once

#include "ui/ShellOpener.h"

#include <QStringList>

namespace zanto::test {

// Records what the program asked the desktop to open.
class LoggingOpener final : public ShellOpener {
public:
    void openPath(const QString& path) override { opened.append(QStringLiteral("path ") + path); }
    void openAddress(const QString& address) override { opened.append(QStringLiteral("address ") + address); }
    QStringList opened;
};

} // namespace zanto::test
