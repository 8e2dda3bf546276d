#pragma once

#include "rename/FileSystem.h"

#include <QDateTime>
#include <QString>
#include <string>

namespace zanto {

// What the information view tells about a file.
struct FileFacts {
    qint64 size = 0;
    QDateTime modified; // local time

    // Length and modification time of `path` (links followed). Never opens
    // the file, so a FIFO or device answers too; a vanished file gives
    // FileNotFound.
    static FsError read(FileSystem& fs, const std::string& path, FileFacts& facts);
};

// The information text: extension (or "なし"), size in bytes, time stamp, as
// three paragraphs with CR LF line breaks. `extension` is native bytes with
// its leading dot, or empty for a file without one.
QString infoText(const std::string& extension, const FileFacts& facts);

} // namespace zanto
