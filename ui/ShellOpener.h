#pragma once

#include <QString>

namespace zanto {

// The desktop's "open" action: the file or address goes to whatever program
// the user's desktop associates with it. Callers ignore the outcome, so a
// missing file or a desktop without a handler passes silently.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual void openPath(const QString& path) = 0;       // a local file
    virtual void openAddress(const QString& address) = 0; // a web address
};

} // namespace zanto
