#include "browse/WildcardPattern.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

struct WildcardCase {
    const char* family;
    const char* pattern;
    const char* name;
    bool matches;
};

void PrintTo(const WildcardCase& c, std::ostream* out)
{
    *out << c.pattern << " / " << c.name;
}

class Wildcard : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcard, MatchesAsTheFileListDoes)
{
    const WildcardCase& c = GetParam();
    EXPECT_EQ(WildcardPattern(c.pattern).matches(c.name), c.matches) << c.pattern << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Families, Wildcard,
    ::testing::Values(
        WildcardCase{"suffix_plain", "*.jpg", "photo.jpg", true},
        WildcardCase{"suffix_case_ignored", "*.jpg", "PHOTO.JPG", true},
        WildcardCase{"suffix_pattern_upper", "*.JPG", "photo.jpg", true},
        WildcardCase{"suffix_longer_ending", "*.jpg", "photo.jpeg", false},
        WildcardCase{"suffix_needs_the_dot", "*.jpg", "photojpg", false},
        WildcardCase{"suffix_whole_name", "*.jpg", ".jpg", true},
        WildcardCase{"list_second", "*.jpg;*.png", "a.png", true},
        WildcardCase{"list_none", "*.jpg;*.png", "a.gif", false},
        WildcardCase{"list_empty_pieces", ";;*.png;", "a.png", true},
        WildcardCase{"empty_pattern", "", "a.png", false},
        WildcardCase{"star_everything", "*", "anything at all", true},
        WildcardCase{"star_dot_star_needs_dot", "*.*", "README", false},
        WildcardCase{"star_dot_star", "*.*", "a.b", true},
        WildcardCase{"design_pattern", "*.a", "x.a", true},
        WildcardCase{"design_pattern_other", "*.a", "x.ab", false},
        WildcardCase{"question_one_char", "IMG_?.jpg", "img_5.jpg", true},
        WildcardCase{"question_not_zero", "IMG_?.jpg", "IMG_.jpg", false},
        WildcardCase{"question_not_two", "IMG_?.jpg", "IMG_12.jpg", false},
        WildcardCase{"question_utf8_char", "?.txt", "旅.txt", true},
        WildcardCase{"question_utf8_not_two", "?.txt", "旅行.txt", false},
        WildcardCase{"question_sjis_bytes", "??\x83\x67.txt", "\x83\x65\x83\x67.txt", true},
        WildcardCase{"question_invalid_byte", "?.txt", "\xff.txt", true},
        WildcardCase{"star_middle", "a*z.txt", "abcz.txt", true},
        WildcardCase{"star_backtrack", "*a*b.txt", "xaxxab.txt", true},
        WildcardCase{"star_backtrack_fail", "*a*b.txt", "xaxxa.txt", false},
        WildcardCase{"star_utf8_suffix", "*行.txt", "旅行.txt", true},
        WildcardCase{"exact", "readme", "README", true},
        WildcardCase{"exact_other", "readme", "README.md", false},
        WildcardCase{"non_ascii_exact_bytes", "*.ＪＰＧ", "a.ｊｐｇ", false}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto
