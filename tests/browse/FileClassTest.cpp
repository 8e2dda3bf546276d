#include "browse/FileClass.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

struct ClassCase {
    const char* family;
    const char* name;
    FileClass expected;
};

void PrintTo(const ClassCase& c, std::ostream* out)
{
    *out << c.name;
}

class Classification : public ::testing::TestWithParam<ClassCase> {};

TEST_P(Classification, ByExactEnding)
{
    EXPECT_EQ(classifyFileName(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Families, Classification,
    ::testing::Values(ClassCase{"picture_upper", "photo.JPG", FileClass::Picture},
                      ClassCase{"picture_lower", "photo.jpg", FileClass::Picture},
                      ClassCase{"picture_mixed_case_is_other", "photo.Jpg", FileClass::Other},
                      ClassCase{"picture_jpeg", "photo.jpeg", FileClass::Picture},
                      ClassCase{"picture_metafiles", "drawing.EMF", FileClass::Picture},
                      ClassCase{"picture_wmf", "clip.wmf", FileClass::Picture},
                      ClassCase{"picture_dib", "old.DIB", FileClass::Picture},
                      ClassCase{"picture_cursor", "arrow.cur", FileClass::Picture},
                      ClassCase{"picture_gif_mixed_is_other", "anim.Gif", FileClass::Other},
                      ClassCase{"picture_png_is_other", "shot.png", FileClass::Other},
                      ClassCase{"text_txt", "notes.txt", FileClass::Text},
                      ClassCase{"text_last_dot_counts", "a.b.txt", FileClass::Text},
                      ClassCase{"text_htm", "page.HTM", FileClass::Text},
                      ClassCase{"text_html", "page.html", FileClass::Text},
                      ClassCase{"text_mixed_case_is_other", "notes.Txt", FileClass::Other},
                      ClassCase{"other_archive", "archive.tar.gz", FileClass::Other},
                      ClassCase{"other_ending_inside", "photo.jpg.bak", FileClass::Other},
                      ClassCase{"none_readme", "README", FileClass::NoExtension},
                      ClassCase{"none_trailing_dot", "name.", FileClass::NoExtension},
                      ClassCase{"dot_name_is_its_ending", ".jpg", FileClass::Picture}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto
