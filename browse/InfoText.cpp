#include "InfoText.h"

#include "ui/NativeFileSystem.h"
#include "ui/NativeName.h"

#include <cerrno>
#include <sys/stat.h>

namespace zanto {

FsError FileFacts::read(const std::string& path, FileFacts& facts)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return fsErrorFromErrno(errno);
    facts.size = static_cast<qint64>(info.st_size);
    facts.modified = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(info.st_mtim.tv_sec) * 1000
                                                        + info.st_mtim.tv_nsec / 1000000,
                                                    Qt::LocalTime);
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
