#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string_view>

namespace zanto {

// The primary picture of a HEIF or AVIF file, through libheif. Lives only in
// the zanto-heif helper program: libheif's licence (LGPL-3) must never meet
// libemf2svg's (GPL-2 only) in one binary.
class HeifPicture {
public:
    // The picture as libheif decodes it, turned by the file's transform
    // boxes and stretched to `box`; none when the bytes do not decode.
    static std::optional<QImage> decode(std::string_view bytes, QSize box);
};

} // namespace zanto
