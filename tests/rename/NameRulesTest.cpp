#include "rename/FileNameParts.h"
#include "rename/NameRules.h"
#include "rename/PathRule.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(NameRules, RefusesTheTwelveAsciiSignsAnywhereButNotTheirFullWidthForms)
{
    for (const char* name : {"a/b", "\\", "c:", ",", ";", "*", "?", "|", "<", ">", "\"x", "旅行.jpg"})
        EXPECT_TRUE(containsForbidden(name)) << name;
    for (const char* name : {"", "  ", " 旅行．＊ ", "＼／：，；？｜＜＞"})
        EXPECT_FALSE(containsForbidden(name)) << name;
}

TEST(NameRules, TheExtensionIsTheLastDotAndWhatFollowsIt)
{
    const struct {
        const char* name;
        const char* extension;
        const char* stem;
    } rows[] = {{"IMG.JPG", ".JPG", "IMG"},   {"x.tar.gz", ".gz", "x.tar"},  {"README", "", "README"},
                {"name.", "", "name."},      {"旅行.テキスト", ".テキスト", "旅行"}};
    for (const auto& row : rows) {
        EXPECT_EQ(extensionOf(row.name), row.extension) << row.name;
        EXPECT_EQ(stemOf(row.name), row.stem) << row.name;
    }
}

TEST(PathRule, OneSeparatorBetweenFolderAndName)
{
    EXPECT_EQ(joinPath("/home/a", "b.jpg"), "/home/a/b.jpg");
    EXPECT_EQ(joinPath("/", "b.jpg"), "/b.jpg");
}

} // namespace
} // namespace zanto
