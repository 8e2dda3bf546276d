#include "listing/WildcardPattern.h"

#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(WildcardPattern, MatchesAsTheFileListDoes)
{
    const struct {
        const char* family;
        const char* pattern;
        const char* name;
        bool matches;
    } rows[] = {
        {"suffix_case_ignored", "*.JPG", "photo.jpg", true},
        {"suffix_longer_ending", "*.jpg", "photo.jpeg", false},
        {"suffix_needs_the_dot", "*.jpg", "photojpg", false},
        {"list_second", "*.jpg;*.png", "a.png", true},
        {"list_empty_pieces", ";;*.png;", "a.png", true},
        {"star_dot_star_needs_dot", "*.*", "README", false},
        {"question_not_two", "IMG_?.jpg", "IMG_12.jpg", false},
        {"question_utf8_char", "?.txt", "旅.txt", true},
        {"question_sjis_bytes", "??\x83\x67.txt", "\x83\x65\x83\x67.txt", true},
        {"question_invalid_byte", "?.txt", "\xff.txt", true},
        {"star_backtrack_fail", "*a*b.txt", "xaxxa.txt", false},
        {"non_ascii_exact_bytes", "*.ＪＰＧ", "a.ｊｐｇ", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WildcardPattern(row.pattern).matches(row.name), row.matches) << row.family;
}

} // namespace
} // namespace zanto
