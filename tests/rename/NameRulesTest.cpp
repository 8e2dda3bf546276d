#include "rename/BatchTexts.h"
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

TEST(BatchTexts, TheRootCaptionAndNoticesNamingTheFirstFiveAndCountingTheRest)
{
    EXPECT_EQ(readingCaption("/home/user", 1), "ファイル読み取り中1個");
    EXPECT_EQ(readingCaption("/", 0), "ファイル読み取り中--0個");
    EXPECT_EQ(notRestoredText(7, {"1", "2", "3", "4", "5", "6", "7"}),
              "7個のファイルを元の名前に戻せませんでした.\r\n\r\n「1」\r\n「2」\r\n「3」\r\n「4」\r\n「5」\r\nほか2個");
    EXPECT_EQ(notRenamedText(3, {"a"}), "3個のファイルは新しい名前に変換できませんでした.\r\n\r\n「a」\r\nほか2個");
}

} // namespace
} // namespace zanto
