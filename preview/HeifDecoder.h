#pragma once

#include <QImage>
#include <QSize>
#include <stop_token>
#include <string>
#include <string_view>

namespace zanto {

// HEIF and AVIF pictures, decoded by the zanto-heif helper program: libheif
// (LGPL-3) is never linked into this one, which links libemf2svg (GPL-2
// only). The helper gets the file's bytes on a pipe and gives the picture
// back upright at the box's size; it runs under a deadline, is killed when
// the work is no longer wanted, and nothing is kept on disk.
class HeifDecoder {
public:
    enum class Status {
        Decoded,
        InvalidPicture, // the helper could not decode it, crashed or ran out of time
        NoHelper,       // the helper program is missing or does not start
        Stopped,        // the stop token was requested
    };
    struct Result {
        Status status = Status::InvalidPicture;
        QImage image;
    };

    static Result decode(std::string_view bytes, QSize box, std::stop_token stop = {});

    // Where the helper is looked for: $ZANTO_HEIF_HELPER when set (tests, a
    // build run from elsewhere), else zanto-heif beside the running program.
    static std::string helperPath();
};

} // namespace zanto
