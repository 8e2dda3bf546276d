#include "preview/PictureLoader.h"
#include "fs/NativeFileSystem.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/RealFiles.h"
#include "tests/support/TempFolder.h"

#include <QColor>
#include <QTransform>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace zanto {
namespace {

NativeFileSystem nativeFs;

const std::string kData = ZANTO_TEST_DATA;

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60 && qAlpha(pixel) > 200;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60 && qAlpha(pixel) > 200;
}

QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Every sample is red on its left half and blue on its right once upright.
// The RAW's preview is stored sideways, its own EXIF saying a half turn: only
// the RAW's quarter turn counts. The PNGs and the WebP are stored sideways,
// their EXIF (in a chunk of its own, or in hex text, or after a hundred chunks
// of image data) saying a quarter turn. One HEIC is stored standing and laid down by
// its irot box; the other's EXIF says a quarter turn, which its missing irot
// box overrules.
TEST(PictureLoader, DecodesEveryKindStretchedToTheBox)
{
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    const QSize box(90, 50);
    for (const char* file : {"picture.gif", "picture.bmp", "picture.dib", "picture.ico", "picture.cur", "picture.emf",
                             "picture.wmf", "picture.png", "picture.webp", "picture.tif", "picture.avif",
                             "photo-irot.heic", "photo-exif-rotated.heic", "photo-rotated.dng",
                             "photo-rotated.png", "photo-profile.png", "photo-late-exif.png",
                             "photo-rotated.webp"}) {
        const LoadedPicture picture = PictureLoader::load(nativeFs, kData + "/" + file, box);
        ASSERT_EQ(picture.status, LoadedPicture::Status::Loaded) << file;
        EXPECT_EQ(picture.image.size(), box);
        EXPECT_TRUE(isRed(picture.image.pixel(10, 25))) << file;
        EXPECT_TRUE(isBlue(picture.image.pixel(80, 25))) << file;
    }
}

// The mean difference of two pictures of one size, per channel (0–255).
double difference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// Each real picture shows as its upright reference does: of the eight ways
// to turn that reference, the one left as it is matches the preview best
// (or within a hair, where colours differ: a FLIR's palette, a RAW's blank
// reference). Every other file fails cleanly.
TEST(PictureLoader, RealPicturesComeOutAsTheirUprightReferences)
{
    const auto rows = test::realFileRows();
    if (rows.empty())
        GTEST_SKIP() << "no real files at " << test::realFiles();
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    const QSize box(64, 64);
    for (const auto& row : rows) {
        const std::string& name = row.at("file");
        const LoadedPicture picture =
            PictureLoader::load(nativeFs, (test::realFiles() / "samples" / name).string(), box);
        if (row.at("preview_reference").empty())
            continue;
        ASSERT_EQ(picture.status, LoadedPicture::Status::Loaded) << name;
        const QImage shown = picture.image.convertToFormat(QImage::Format_RGB32);
        const QImage upright(QString::fromStdString((test::realFiles() / "upright" / (name + ".png")).string()));
        std::vector<double> differences;
        for (int turn = 0; turn < 8; ++turn) {
            const QImage turned = upright.transformed(QTransform().rotate(90 * (turn % 4))).mirrored(turn >= 4, false);
            differences.push_back(difference(
                shown, turned.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32)));
        }
        EXPECT_LT(differences[0], *std::min_element(differences.begin(), differences.end()) + 3) << name;
    }
}

// A program started without its standard streams gives their numbers to the
// next descriptors it makes: the child's pipes reach it whole all the same.
TEST(PictureLoader, DecodesWithTheStandardStreamsClosed)
{
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    const QByteArray bytes = bytesOf(test::readFile(kData + "/photo-exif-rotated.heic"));
    const int out = ::dup(STDOUT_FILENO);
    const int err = ::dup(STDERR_FILENO);
    ::close(STDOUT_FILENO);
    ::close(STDERR_FILENO);
    const LoadedPicture::Status status = PictureLoader::decode(bytes, "x.heic").status;
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::close(out);
    ::close(err);
    EXPECT_EQ(status, LoadedPicture::Status::Loaded);
}

// A RAW file is read in pieces where its directories point, never whole.
TEST(PictureLoader, RawFilesAreNeverReadWhole)
{
    test::FaultyFileSystem pieceReader;
    pieceReader.failWholeReads(FsError::Other);
    EXPECT_EQ(PictureLoader::load(pieceReader, kData + "/photo-rotated.dng").status, LoadedPicture::Status::Loaded);
}

// A file under another kind's ending, refused by that kind's decoder, is
// decoded by the one its magic number names.
TEST(PictureLoader, AWrongEndingIsOverruledByTheContent)
{
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    const struct {
        const char* sample;
        const char* name;
    } rows[] = {
        {"photo-rotated.jpg", "x.nef"}, {"photo-rotated.jpg", "x.HEIC"}, {"picture.png", "x.dib"},
        {"picture.emf", "x.wmf"},       {"photo-irot.heic", "x.jpg"},    {"photo-rotated.dng", "x.png"},
    };
    test::TempFolder folder;
    for (const auto& row : rows) {
        folder.write(row.name, test::readFile(kData + "/" + row.sample));
        const LoadedPicture picture = PictureLoader::load(nativeFs, folder.pathOf(row.name));
        EXPECT_EQ(picture.status, LoadedPicture::Status::Loaded) << row.sample << " as " << row.name;
    }
    // The content's decoder that cannot show it leaves the verdict of the
    // ending's: a broken file, not a missing helper.
    ::setenv("ZANTO_HEIF_HELPER", "/nonexistent/zanto-heif", 1);
    folder.write("y.jpg", test::readFile(kData + "/photo-irot.heic"));
    EXPECT_EQ(PictureLoader::load(nativeFs, folder.pathOf("y.jpg")).status, LoadedPicture::Status::InvalidPicture);
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
}

// A sample with the little-endian 32-bit word at `offset` (from the end when
// negative) replaced.
std::string patched(const char* sample, long offset, quint32 value)
{
    std::string bytes = test::readFile(kData + "/" + sample);
    const std::size_t at =
        offset < 0 ? bytes.size() - static_cast<std::size_t>(-offset) : static_cast<std::size_t>(offset);
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Damaged files, and metafiles that made the decoding libraries read past
// their buffer, ask for gigabytes or hang: refused before the library sees
// them, or converted in a child process that is stopped at its deadline.
TEST(PictureLoader, UndecodableFilesAreInvalidPictures)
{
    const std::string emf = test::readFile(kData + "/picture.emf");
    const struct {
        const char* family;
        const char* name;
        std::string content;
    } rows[] = {
        {"damaged_jpeg", "x.jpg", test::readFile(kData + "/damaged.jpg")},
        {"emf_without_eof", "x.emf", emf.substr(0, emf.size() - 20)},
        {"emf_record_past_end", "x.emf", patched("picture.emf", -16, 0x1000)},
        {"wmf_record_past_end", "x.wmf", patched("picture.wmf", 22 + 18, 0x10000)},
        {"wmf_huge_largest_record", "x.wmf", patched("picture.wmf", 22 + 12, 0x7FFFFFFF)},
        {"damaged_heic", "x.heic", test::readFile(kData + "/damaged.heic")},
        {"tiff_as_raw", "x.NEF", test::readFile(kData + "/picture.tif")},
        {"raw_cut_short", "x.CR2", test::readFile(kData + "/photo-rotated.dng").substr(0, 600)},
    };
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    test::TempFolder folder;
    for (const auto& row : rows) {
        folder.write(row.name, row.content);
        EXPECT_EQ(PictureLoader::load(nativeFs, folder.pathOf(row.name)).status, LoadedPicture::Status::InvalidPicture)
            << row.family;
    }
}

// Every input committed to the fuzzers' corpus, the crashes and hangs they
// found among them, runs here too under the decoder its harness uses.
TEST(PictureLoader, EveryFuzzCorpusInputLoadsOrIsInvalid)
{
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_TEST_HEIF_HELPER, 1);
    const std::pair<const char*, const char*> harnesses[] = {
        {"picture_content", ".jpg"}, {"picture_dib", ".dib"}, {"picture_emf", ".emf"}, {"picture_wmf", ".wmf"},
        {"picture_raw", ".dng"}, {"heif", ".heic"}};
    for (const auto& [harness, ending] : harnesses) {
        for (const auto& entry : std::filesystem::directory_iterator(kData + "/../fuzz/corpus/" + harness)) {
            const LoadedPicture picture = PictureLoader::decode(bytesOf(test::readFile(entry.path().string())),
                                                                std::string("x") + ending, PREVIEW_BOX);
            EXPECT_TRUE(picture.status == LoadedPicture::Status::Loaded
                        || picture.status == LoadedPicture::Status::InvalidPicture)
                << entry.path();
        }
    }
}

} // namespace
} // namespace zanto
