#include "CommandLine.h"

#include "ui/NativeName.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <string_view>

namespace zanto {

QString CommandLine::startPath(const QCoreApplication& app)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(ZANTO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZANTO: フォルダーのファイル名を一括で変更します"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("開くフォルダー、またはそのフォルダーのファイル"),
                                 QStringLiteral("[path]"));
    parser.process(app);
    const QStringList paths = parser.positionalArguments();
    // Resolved here: a later start hands its path to a copy running in
    // another folder.
    return paths.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(paths.first()).absoluteFilePath());
}

bool CommandLine::wantsTextOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--")
            break;
        if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "--help-all"
            || argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

std::optional<StartTarget> CommandLine::target(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        // A folder that cannot be listed is of no use.
        if (!info.isReadable() || !info.isExecutable())
            return std::nullopt;
        return StartTarget{nativeName(info.absoluteFilePath()), {}};
    }
    if (!info.exists() || !info.isReadable())
        return std::nullopt;
    const QFileInfo folder(info.absolutePath());
    if (!folder.isReadable() || !folder.isExecutable())
        return std::nullopt;
    return StartTarget{nativeName(info.absolutePath()), nativeName(info.fileName())};
}

} // namespace zanto
