#include "QtShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zanto {

void QtShellOpener::openPath(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtShellOpener::openAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace zanto
