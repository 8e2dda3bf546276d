#include "rename/FileNameParts.h"
#include "rename/NameRules.h"
#include "rename/PathRule.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(NameRules, RefusesExactlyTheTwelveAsciiSigns)
{
    for (char32_t ch : {U'/', U'\\', U':', U',', U';', U'*', U'?', U'|', U'<', U'>', U'"', U'.'})
        EXPECT_TRUE(isForbiddenChar(ch)) << static_cast<int>(ch);
    // Full-width forms, letters and blanks are ordinary characters.
    for (char32_t ch : {U'＼', U'／', U'：', U'，', U'；', U'＊', U'？', U'｜', U'＜', U'＞', U'．', U'a', U' ', U'旅'})
        EXPECT_FALSE(isForbiddenChar(ch)) << static_cast<int>(ch);
}

TEST(NameRules, WholeTextCheckFindsASignAnywhere)
{
    EXPECT_TRUE(containsForbidden("旅行|"));
    EXPECT_TRUE(containsForbidden("\"x"));
    EXPECT_TRUE(containsForbidden("a.b"));
    EXPECT_FALSE(containsForbidden("  "));
    EXPECT_FALSE(containsForbidden(" 旅行．＊ "));
    EXPECT_FALSE(containsForbidden(""));
}

TEST(NameRules, MessageNamesEverySignInOneLine)
{
    EXPECT_EQ(FORBIDDEN_MSG, "ファイル名に \\ / : , ; * ? \" < > . | は使用できません");
}

struct ExtensionCase {
    const char* family;
    const char* name;
    const char* extension;
    const char* stem;
};

class Extension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(Extension, DependsOnTheNameAlone)
{
    EXPECT_EQ(extensionOf(GetParam().name), GetParam().extension);
    EXPECT_EQ(stemOf(GetParam().name), GetParam().stem);
}

INSTANTIATE_TEST_SUITE_P(
    Families, Extension,
    ::testing::Values(ExtensionCase{"case-kept", "IMG.JPG", ".JPG", "IMG"},
                      ExtensionCase{"four-letters", "doc.jpeg", ".jpeg", "doc"},
                      ExtensionCase{"last-of-two", "x.tar.gz", ".gz", "x.tar"},
                      ExtensionCase{"none", "README", "", "README"},
                      ExtensionCase{"trailing-dot", "name.", "", "name."},
                      ExtensionCase{"long", "movie.matroska", ".matroska", "movie"},
                      ExtensionCase{"japanese", "旅行.テキスト", ".テキスト", "旅行"}),
    [](const auto& info) {
        std::string family = info.param.family;
        for (char& ch : family)
            if (ch == '-')
                ch = '_';
        return family;
    });

TEST(PathRule, OneSeparatorBetweenFolderAndName)
{
    EXPECT_EQ(joinPath("/home/a", "b.jpg"), "/home/a/b.jpg");
    EXPECT_EQ(joinPath("/", "b.jpg"), "/b.jpg");
    EXPECT_EQ(joinPath("/media/usb/", "b.jpg"), "/media/usb/b.jpg");
}

} // namespace
} // namespace zanto
