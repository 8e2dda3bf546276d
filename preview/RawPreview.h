#pragma once

#include "preview/Orientation.h"
#include "rename/FileSystem.h"

#include <QByteArray>
#include <QImage>
#include <optional>
#include <stop_token>

namespace zanto {

class ReadableFile;

// The preview a camera embeds in its RAW file (CR2, CR3, NEF, ARW, DNG, ORF,
// RW2, PEF), found by LibRaw, which reads only the file's directories and
// the preview itself: a few hundred KiB of a 30 MB file. LibRaw 0.20 crashes
// on some damaged files, so it runs in a child process, as the metafile
// libraries do; the child reads the file through the same ReadableFile.
struct EmbeddedPreview {
    QByteArray jpeg; // the preview as a JPEG file, or empty when it is a bitmap
    QImage bitmap;   // the preview as pixels, when it is no JPEG
    // The RAW's own orientation: it rules over anything inside the preview.
    Orientation orientation = Orientation::Upright;
};

class RawPreview {
public:
    // The largest embedded preview of `file`. None when the file is no RAW
    // LibRaw knows, holds no preview, or LibRaw crashes, hangs or is stopped
    // through `stop`; `error` tells a failed read apart.
    static std::optional<EmbeddedPreview> read(ReadableFile& file, FsError& error, std::stop_token stop = {});
};

} // namespace zanto
