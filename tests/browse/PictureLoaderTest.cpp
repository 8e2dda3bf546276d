#include "browse/PictureLoader.h"
#include "tests/support/TempFolder.h"

#include <QColor>
#include <filesystem>
#include <QBuffer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zanto {
namespace {

const std::string kData = ZANTO_TEST_DATA;

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60 && qAlpha(pixel) > 200;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60 && qAlpha(pixel) > 200;
}

struct SampleCase {
    const char* family;
    const char* file;
};

class Samples : public ::testing::TestWithParam<SampleCase> {};

// Every sample is red on its left half and blue on its right.
TEST_P(Samples, DecodeStretchedToTheBox)
{
    const QSize box(90, 50);
    const LoadedPicture picture = PictureLoader::load(kData + "/" + GetParam().file, box);
    ASSERT_EQ(picture.status, LoadedPicture::Status::Loaded);
    EXPECT_EQ(picture.image.size(), box);
    EXPECT_TRUE(isRed(picture.image.pixel(10, 25))) << std::hex << picture.image.pixel(10, 25);
    EXPECT_TRUE(isBlue(picture.image.pixel(80, 25))) << std::hex << picture.image.pixel(80, 25);
}

INSTANTIATE_TEST_SUITE_P(Formats, Samples,
                         ::testing::Values(SampleCase{"gif", "picture.gif"}, SampleCase{"bmp", "picture.bmp"},
                                           SampleCase{"dib", "picture.dib"}, SampleCase{"ico", "picture.ico"},
                                           SampleCase{"cur", "picture.cur"}, SampleCase{"emf", "picture.emf"},
                                           SampleCase{"wmf", "picture.wmf"}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST(PictureLoader, AppliesExifOrientation)
{
    // Stored 40 x 20 red | blue, tagged to be shown turned a quarter clockwise:
    // red on top, blue below.
    const QSize box(60, 80);
    const LoadedPicture picture = PictureLoader::load(kData + "/photo-rotated.jpg", box);
    ASSERT_EQ(picture.status, LoadedPicture::Status::Loaded);
    EXPECT_EQ(picture.image.size(), box);
    EXPECT_TRUE(isRed(picture.image.pixel(30, 10)));
    EXPECT_TRUE(isBlue(picture.image.pixel(30, 70)));
}

struct FailureCase {
    const char* family;
    const char* name;
    std::string content;
};

class Undecodable : public ::testing::TestWithParam<FailureCase> {};

// A sample with the little-endian 32-bit word at `offset` (from the end when
// negative) replaced, or with its last `dropped` bytes cut off.
std::string patched(const char* sample, long offset, quint32 value)
{
    std::string bytes = test::readFile(kData + "/" + sample);
    const std::size_t at =
        offset < 0 ? bytes.size() - static_cast<std::size_t>(-offset) : static_cast<std::size_t>(offset);
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string cut(const char* sample, std::size_t dropped)
{
    const std::string bytes = test::readFile(kData + "/" + sample);
    return bytes.substr(0, bytes.size() - dropped);
}

TEST_P(Undecodable, IsAnInvalidPicture)
{
    test::TempFolder folder;
    folder.write(GetParam().name, GetParam().content);
    EXPECT_EQ(PictureLoader::load(folder.pathOf(GetParam().name)).status, LoadedPicture::Status::InvalidPicture);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Undecodable,
    ::testing::Values(FailureCase{"damaged_jpeg", "damaged.jpg", test::readFile(kData + "/damaged.jpg")},
                      FailureCase{"text_as_gif", "notes.gif", "just some text"},
                      FailureCase{"garbage_emf", "x.emf", std::string(200, '\x01')},
                      FailureCase{"emf_as_wmf", "x.wmf", test::readFile(kData + "/picture.emf")},
                      FailureCase{"wmf_as_emf", "x.emf", test::readFile(kData + "/picture.wmf")}),
    [](const auto& info) { return std::string(info.param.family); });

// Metafiles that made the decoding libraries read past their buffer, ask
// for gigabytes or hang: refused before the library sees them, or converted
// in a child process that is stopped at its deadline.
INSTANTIATE_TEST_SUITE_P(
    Metafiles, Undecodable,
    ::testing::Values(
        FailureCase{"emf_without_eof", "x.emf", cut("picture.emf", 20)},
        FailureCase{"emf_record_past_end", "x.emf", patched("picture.emf", -16, 0x1000)},
        FailureCase{"wmf_record_past_end", "x.wmf", patched("picture.wmf", 22 + 18, 0x10000)},
        FailureCase{"wmf_huge_largest_record", "x.wmf", patched("picture.wmf", 22 + 12, 0x7FFFFFFF)},
        FailureCase{"wmf_palette_count_hang", "x.wmf",
                    test::readFile(kData + "/palette-count-hang.wmf")}),
    [](const auto& info) { return std::string(info.param.family); });

// A picture ending opens only the picture kinds it names (PNG aside): the
// other image plugins never see a file from here.
TEST(PictureLoader, OnlyThePictureKindsTheEndingsName)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const auto encoded = [&](const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    };
    EXPECT_EQ(PictureLoader::decode(encoded("png"), "download.jpg").status, LoadedPicture::Status::Loaded);
    EXPECT_EQ(PictureLoader::decode(encoded("tiff"), "scan.jpg").status, LoadedPicture::Status::InvalidPicture);
    EXPECT_EQ(PictureLoader::decode(encoded("ppm"), "frame.gif").status, LoadedPicture::Status::InvalidPicture);
}

TEST(PictureLoader, VanishedFifoAndFolder)
{
    test::TempFolder folder;
    EXPECT_EQ(PictureLoader::load(folder.pathOf("gone.jpg")).status, LoadedPicture::Status::FileNotFound);
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.jpg").c_str(), 0600), 0);
    EXPECT_EQ(PictureLoader::load(folder.pathOf("pipe.jpg")).status, LoadedPicture::Status::NotRegularFile);
    folder.makeSubfolder("album.jpg");
    EXPECT_EQ(PictureLoader::load(folder.pathOf("album.jpg")).status, LoadedPicture::Status::NotRegularFile);
}

// Every input committed to the fuzzers' corpus, found crashes and hangs
// among them, runs here too under the decoder its harness uses.
TEST(PictureLoader, EveryFuzzCorpusInputLoadsOrIsInvalid)
{
    const std::pair<const char*, const char*> harnesses[] = {
        {"picture_content", ".jpg"}, {"picture_dib", ".dib"}, {"picture_emf", ".emf"}, {"picture_wmf", ".wmf"}};
    for (const auto& [harness, ending] : harnesses) {
        for (const auto& entry : std::filesystem::directory_iterator(kData + "/../fuzz/corpus/" + harness)) {
            const std::string bytes = test::readFile(entry.path().string());
            const LoadedPicture picture = PictureLoader::decode(
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), std::string("x") + ending, PREVIEW_BOX);
            EXPECT_TRUE(picture.status == LoadedPicture::Status::Loaded
                        || picture.status == LoadedPicture::Status::InvalidPicture)
                << entry.path();
        }
    }
}

} // namespace
} // namespace zanto
