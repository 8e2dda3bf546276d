#pragma once

#include "preview/Orientation.h"

#include <optional>
#include <string_view>

namespace zanto {

// What Qt's picture readers (Qt 6.4) leave undone for some kinds, made up
// for before the bytes reach them.
class QtReaderGaps {
public:
    // The EXIF orientation of a PNG or a WebP, which Qt's readers leave
    // unread; none for any other kind, whose reader applies its own.
    static std::optional<Orientation> statedOrientation(std::string_view bytes);

    // Whether the bytes can go to Qt's readers without taking memory their
    // size gives no reason for: libpng sets aside the whole length a chunk
    // declares before reading it, so a few bytes that claim a text chunk of
    // 2 GB would take that much.
    static bool safeToRead(std::string_view bytes);
};

} // namespace zanto
