#pragma once

#include "rename/FileSystem.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <stop_token>
#include <string>
#include <string_view>

namespace zanto {

// The picture view's box: the picture is stretched to fill it.
inline constexpr QSize PREVIEW_BOX(312, 380);

// A picture file decoded for a box of a given size.
struct LoadedPicture {
    enum class Status {
        Loaded,         // `image` has exactly the box's size
        InvalidPicture, // the file does not decode as a picture
        FileNotFound,   // the file vanished
        NotRegularFile, // a FIFO, device or folder: never read
        NoDecoder,      // the helper program that decodes its kind is missing
        Failed,         // anything else (no permission, I/O error); see `error`
    };
    Status status = Status::Failed;
    FsError error = FsError::None;
    QImage image;
};

class PictureLoader {
public:
    // Decodes `path` (native bytes) and stretches it to `box`: JPEG, PNG,
    // GIF, WebP, TIFF, BMP, ICO and CUR by content, ".dib" as a bitmap,
    // ".emf" and ".wmf" as metafiles, HEIF and AVIF through the zanto-heif
    // helper, a RAW file by the preview embedded in it; a file that decoder
    // refuses, by the one its magic number names. Every picture comes
    // out upright, turned exactly once: by its EXIF orientation, a RAW's
    // preview by the RAW's, HEIF by its transform boxes alone. A large photo
    // is decoded at about the size shown rather than in full. Once `stop` is
    // requested the work may end early; what it gives then is not used.
    static LoadedPicture load(FileSystem& fs, const std::string& path, QSize box = PREVIEW_BOX,
                              std::stop_token stop = {});

    // The same decoding for bytes already in memory; `name` picks the decoder
    // by its ending as the path does for load().
    static LoadedPicture decode(const QByteArray& bytes, std::string_view name, QSize box = PREVIEW_BOX,
                                std::stop_token stop = {});
};

} // namespace zanto
