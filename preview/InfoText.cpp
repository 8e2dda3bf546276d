#include "preview/InfoText.h"

#include "ui/NativeName.h"

namespace zanto {

FsError FileFacts::read(FileSystem& fs, const std::string& path, FileFacts& facts)
{
    FileStatus status;
    if (const FsError error = fs.status(path, status); error != FsError::None)
        return error;
    facts.size = status.size;
    facts.modified = QDateTime::fromMSecsSinceEpoch(status.modifiedMs, Qt::LocalTime);
    return FsError::None;
}

QString infoText(const std::string& extension, const FileFacts& facts)
{
    const QString shown = extension.empty() ? QStringLiteral("なし") : displayName(extension.substr(1));
    // A fixed format: the same text whatever locale the process runs in.
    return QStringLiteral("拡張子「") + shown + QStringLiteral("」\r\n\r\n") + QString::number(facts.size)
        + QStringLiteral("バイト\r\n\r\n") + facts.modified.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

} // namespace zanto
