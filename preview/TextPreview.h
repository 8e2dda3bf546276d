#pragma once

#include "rename/FileSystem.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <string>

namespace zanto {

// Text files at or above this length are not opened for the text view.
inline constexpr qint64 TEXT_PREVIEW_LIMIT = 4096;

// The notice shown instead of a text that is too large.
inline constexpr QStringView TOO_LARGE_NOTICE = u"４Ｋbyte以上のFileは開きません";

// A text-class file read for the text view.
struct TextPreview {
    enum class Status {
        Read,           // `text` holds the file's lines
        TooLarge,       // at or above the limit: not opened
        NotRegularFile, // a FIFO, device or folder: never opened
        Failed,         // `error` says why
    };
    Status status = Status::Failed;
    FsError error = FsError::None;
    QString text;

    // Reads `path` (native bytes) without ever blocking on a special file.
    static TextPreview read(FileSystem& fs, const std::string& path);

    // The text view's text for a file's bytes: UTF-8 when they are valid UTF-8
    // (a BOM dropped), else Shift_JIS; every line, ended by CR LF or a lone CR
    // in the file, followed by CR LF. A lone LF stays inside its line.
    static QString decode(QByteArrayView bytes);
};

} // namespace zanto
