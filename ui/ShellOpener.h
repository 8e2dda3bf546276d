#pragma once

#include <QString>

#include <functional>

namespace zanto {

// The desktop's "open" action: the file or address goes to whatever program
// the user's desktop associates with it.
class ShellOpener {
public:
    // Run later, on the window's thread, when the desktop could not open the
    // file: no program for it, no desktop tools, the file missing.
    using Failed = std::function<void()>;

    virtual ~ShellOpener() = default;
    virtual void openPath(const QString& path, Failed failed) = 0; // a local file
    // A web address has no stand-in inside the program: its outcome is not told.
    virtual void openAddress(const QString& address) = 0;
};

} // namespace zanto
