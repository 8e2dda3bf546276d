#include "browse/NaturalOrder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace zanto {
namespace {

struct OrderCase {
    const char* family;
    std::vector<std::string> expected;
};

class NaturalOrderFamilies : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrderFamilies, SortsShuffledNamesIntoExpectedOrder)
{
    const std::vector<std::string>& expected = GetParam().expected;
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        std::vector<std::string> names = expected;
        std::shuffle(names.begin(), names.end(), random);
        sortNaturally(names);
        EXPECT_EQ(names, expected);
    }
    for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
        EXPECT_TRUE(naturalLess(expected[i], expected[i + 1])) << expected[i] << " < " << expected[i + 1];
        EXPECT_FALSE(naturalLess(expected[i + 1], expected[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, NaturalOrderFamilies,
    ::testing::Values(
        OrderCase{"numbers_by_value", {"IMG_2.jpg", "IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"}},
        OrderCase{"leading_zeros_beside_value", {"IMG_0009.jpg", "IMG_09.jpg", "IMG_9.jpg", "IMG_010.jpg"}},
        OrderCase{"zero_alone", {"a0", "a00", "a1"}},
        OrderCase{"case_ignored", {"apple.txt", "Banana.txt", "cherry.txt"}},
        OrderCase{"case_tie_by_bytes", {"A.txt", "a.txt"}},
        OrderCase{"prefix_first", {"photo", "photo1", "photo1a", "photo2"}},
        OrderCase{"several_runs", {"v1.2.9", "v1.2.10", "v1.10.1", "v2.0.0"}},
        OrderCase{"huge_numbers", {"x99999999999999999999", "x100000000000000000000"}},
        OrderCase{"separators_before_digits", {"a-1", "a.1", "a1", "a_1"}},
        OrderCase{"japanese_after_ascii", {"z9.jpg", "旅行1.jpg", "旅行2.jpg", "旅行10.jpg"}},
        OrderCase{"non_utf8_bytes", {"a\x83\x65", "a\xff"}}),
    [](const auto& info) { return std::string(info.param.family); });

TEST(NaturalOrder, OrderIsTotalOnEquivalentNames)
{
    // All three are equal as numbers and letters: only the bytes decide.
    std::vector<std::string> names = {"img01", "IMG1", "img1"};
    sortNaturally(names);
    EXPECT_EQ(names, (std::vector<std::string>{"IMG1", "img01", "img1"}));
    EXPECT_FALSE(naturalLess("img1", "img1"));
}

TEST(NaturalOrder, BulkSortAgreesWithPairwiseComparison)
{
    // Short and long keys, zero bytes in length fields, shared prefixes.
    std::mt19937 random(11);
    const std::string pieces[] = {"IMG_", "img", "0", "00", "7", "10", "123456789", "a", "B", "_", ".", "旅", "\xff"};
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        const int count = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < count; ++k)
            name += pieces[random() % std::size(pieces)];
        names.push_back(name);
    }
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
    sortNaturally(names);
    EXPECT_EQ(names, expected);
}

} // namespace
} // namespace zanto
