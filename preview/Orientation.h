#pragma once

#include <QImage>
#include <optional>

namespace zanto {

// How stored pixels are turned to stand upright, numbered as the EXIF and
// TIFF Orientation tag (and libheif) number them.
enum class Orientation {
    Upright = 1,
    Mirrored = 2,
    UpsideDown = 3,
    Flipped = 4,
    Transposed = 5,  // a quarter turn clockwise, then mirrored
    Rotated90 = 6,   // a quarter turn clockwise
    Transversed = 7, // a quarter turn clockwise, then flipped
    Rotated270 = 8,  // a quarter turn counter-clockwise
};

// The orientation a RAW decoder (dcraw, LibRaw) gives as its "flip" bits:
// 1 mirror, 2 flip, 4 swap the axes. None for a value out of range.
std::optional<Orientation> orientationFromRawFlip(int flip);

// Whether the upright picture has the stored picture's width and height swapped.
bool swapsSides(Orientation orientation);

// `image` turned as `orientation` says.
QImage turnedUpright(const QImage& image, Orientation orientation);

} // namespace zanto
