#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

namespace zanto {

// Windows metafiles drawn straight at the size they are shown, stretched to
// the whole box. Nothing when the bytes are not a metafile of that kind or do
// not draw. The decoding libraries run in a short-lived child process, so a
// damaged file that crashes or hangs them is only an invalid picture.
class MetafileDecoder {
public:
    // Enhanced metafile, through libemf2svg and Qt's SVG renderer.
    static std::optional<QImage> renderEmf(const QByteArray& bytes, QSize box);

    // Windows metafile (placeable or not), through libwmf's raster back end
    // (its SVG back end washes colours out).
    static std::optional<QImage> renderWmf(const QByteArray& bytes, QSize box);
};

} // namespace zanto
