#include "listing/NaturalOrder.h"
#include "rename/AsciiCase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zanto {
namespace {

// Each row is in order; shuffled, it sorts back, whole or name by name, and
// the pairwise order agrees.
TEST(NaturalOrder, SortsEveryFamilyIntoItsOrder)
{
    // Each number twice, the second differing only in case: a tie to settle by bytes.
    const auto numbered = [](int count, const std::string& prefix) {
        std::vector<std::string> names;
        for (int i = 1; i <= count; ++i) {
            names.push_back(prefix + std::to_string(i) + ".jpg");
            names.push_back(asciiFolded(prefix) + std::to_string(i) + ".JPG");
        }
        return names;
    };
    const struct {
        const char* family;
        std::vector<std::string> names;
    } rows[] = {
        {"numbers_by_value", {"IMG_2.jpg", "IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"}},
        {"leading_zeros_beside_value", {"IMG_0009.jpg", "IMG_09.jpg", "IMG_9.jpg", "IMG_010.jpg"}},
        {"case_ignored_ties_by_bytes", {"apple", "Banana", "IMG1", "img01", "img1"}},
        {"japanese_after_ascii", {"z9.jpg", "旅行1.jpg", "旅行2.jpg", "旅行10.jpg"}},
        {"non_utf8_bytes", {"a\x83\x65", "a\xff"}},
        {"big_folder_ordered_bytewise", numbered(15000, "IMG_")},
        {"big_folder_alike_beyond_16_key_bytes", numbered(3000, "Hokkaido_Trip_2026_")},
    };
    std::mt19937 random(7);
    for (const auto& row : rows) {
        std::vector<std::string> names = row.names;
        std::shuffle(names.begin(), names.end(), random);
        NaturalOrder batched; // as a folder comes in: runs merged as they go
        for (const auto& name : names)
            batched.add(name);
        EXPECT_EQ(batched.sorted(), row.names) << row.family;
        sortNaturally(names);
        EXPECT_EQ(names, row.names) << row.family;
        for (std::size_t i = 0; i + 1 < names.size(); ++i)
            EXPECT_FALSE(naturalLess(row.names[i + 1], row.names[i])) << row.family;
    }
}

} // namespace
} // namespace zanto
