#include "preview/Orientation.h"

#include <QColor>
#include <gtest/gtest.h>

namespace zanto {
namespace {

// The picture's pixels row by row, one letter each: Red, Green, Blue, White.
std::string letters(const QImage& image)
{
    std::string out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            out += qBlue(pixel) > 128 ? (qRed(pixel) > 128 ? 'W' : 'B') : (qRed(pixel) > 128 ? 'R' : 'G');
        }
    }
    return out;
}

// Each orientation turns R G / B W as the EXIF tag means it, and a RAW
// decoder's flip bits (dcraw's "50132467"[tag & 7]) name the same one.
TEST(Orientation, TurnsAsTheExifTagAndTheRawFlipSay)
{
    QImage stored(2, 2, QImage::Format_RGB32);
    stored.setPixel(0, 0, qRgb(255, 0, 0));
    stored.setPixel(1, 0, qRgb(0, 255, 0));
    stored.setPixel(0, 1, qRgb(0, 0, 255));
    stored.setPixel(1, 1, qRgb(255, 255, 255));
    const struct {
        int exif;
        int flip;
        const char* upright;
    } rows[] = {
        {1, 0, "RGBW"}, {2, 1, "GRWB"}, {3, 3, "WBGR"}, {4, 2, "BWRG"},
        {5, 4, "RBGW"}, {6, 6, "BRWG"}, {7, 7, "WGBR"}, {8, 5, "GWRB"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(orientationFromRawFlip(row.flip), static_cast<Orientation>(row.exif)) << row.exif;
        EXPECT_EQ(letters(turnedUpright(stored, static_cast<Orientation>(row.exif))), row.upright) << row.exif;
    }
    EXPECT_EQ(orientationFromRawFlip(8), std::nullopt);
}

} // namespace
} // namespace zanto
