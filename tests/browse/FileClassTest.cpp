#include "browse/FileClass.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

// The preview's kind of a file, by its exact ending.
TEST(FileClass, ByExactEnding)
{
    const struct {
        const char* family;
        const char* name;
        FileClass expected;
    } rows[] = {
        {"picture_upper", "photo.JPG", FileClass::Picture},     {"picture_lower", "photo.jpg", FileClass::Picture},
        {"picture_mixed_case", "photo.Jpg", FileClass::Other},  {"picture_metafile", "drawing.EMF", FileClass::Picture},
        {"picture_png_is_other", "shot.png", FileClass::Other}, {"text_last_dot_counts", "a.b.txt", FileClass::Text},
        {"text_htm", "page.HTM", FileClass::Text},              {"text_mixed_case", "notes.Txt", FileClass::Other},
        {"ending_inside", "photo.jpg.bak", FileClass::Other},   {"none", "README", FileClass::NoExtension},
        {"none_trailing_dot", "name.", FileClass::NoExtension}, {"dot_name", ".jpg", FileClass::Picture},
    };
    for (const auto& row : rows)
        EXPECT_EQ(classifyFileName(row.name), row.expected) << row.family;
}

} // namespace
} // namespace zanto
