#include "preview/Orientation.h"

#include <QTransform>

namespace zanto {

std::optional<Orientation> orientationFromRawFlip(int flip)
{
    // dcraw reads the Orientation tag into these bits, "50132467"[tag & 7];
    // this is the way back.
    switch (flip) {
    case 0: return Orientation::Upright;
    case 1: return Orientation::Mirrored;
    case 2: return Orientation::Flipped;
    case 3: return Orientation::UpsideDown;
    case 4: return Orientation::Transposed;
    case 5: return Orientation::Rotated270;
    case 6: return Orientation::Rotated90;
    case 7: return Orientation::Transversed;
    default: return std::nullopt;
    }
}

bool swapsSides(Orientation orientation)
{
    return static_cast<int>(orientation) >= static_cast<int>(Orientation::Transposed);
}

QImage turnedUpright(const QImage& image, Orientation orientation)
{
    // Qt's y axis points down: a positive angle turns clockwise on screen.
    const auto turned = [&image](qreal degrees) { return image.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case Orientation::Upright: return image;
    case Orientation::Mirrored: return image.mirrored(true, false);
    case Orientation::UpsideDown: return turned(180);
    case Orientation::Flipped: return image.mirrored(false, true);
    case Orientation::Transposed: return turned(90).mirrored(true, false);
    case Orientation::Rotated90: return turned(90);
    case Orientation::Transversed: return turned(90).mirrored(false, true);
    case Orientation::Rotated270: return turned(270);
    }
    return image;
}

} // namespace zanto
