#pragma once

#include <QString>

#include <optional>
#include <string>

class QCoreApplication;

namespace zanto {

// Where a path given to the program leads: a folder opens as it is; a file
// opens its folder with the file selected.
struct StartTarget {
    std::string folder;
    std::string file; // empty for a folder
};

// The program's command line: an optional folder or file to open.
class CommandLine {
public:
    // Reads the arguments of `app`. --help and --version print and end the
    // program here. Returns the path given, made absolute against the current
    // folder, or the empty text.
    static QString startPath(const QCoreApplication& app);

    // True when the arguments ask only for the help or the version text,
    // which then need no window system (over ssh, in scripts).
    static bool wantsTextOnly(int argc, char** argv);

    // What `path` (absolute) leads to; nothing when it does not exist or
    // cannot be read.
    static std::optional<StartTarget> target(const QString& path);
};

} // namespace zanto
