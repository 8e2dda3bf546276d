#include "app/VorisCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zanto {
namespace {

using Entries = std::vector<std::string>;

Entries numbered(std::size_t count)
{
    Entries entries;
    for (std::size_t i = 0; i < count; ++i)
        entries.push_back("*.e" + std::to_string(i));
    return entries;
}

// Stored last entry first, as they stand, and read back in the dialog's
// order; stray empty pieces are skipped. At most 101 entries each way:
// joining drops the last of a longer list, splitting the front of a longer text.
TEST(VorisCodec, StoresLastEntryFirstAndReadsBackInOrder)
{
    EXPECT_EQ(VorisCodec::join({"*.JPG", "*. a", "*.jpg"}), "*.jpg;*. a;*.JPG");
    EXPECT_EQ(VorisCodec::split(";*.jpg;;*. a;*.JPG"), (Entries{"*.JPG", "*. a", "*.jpg"}));
    EXPECT_EQ(VorisCodec::split(VorisCodec::join(numbered(102))), numbered(101));
    std::string stored = "*.back";
    for (const std::string& entry : numbered(101))
        stored = entry + ";" + stored;
    const Entries entries = VorisCodec::split(stored);
    ASSERT_EQ(entries.size(), 101u);
    EXPECT_EQ(entries.front(), "*.back");
    EXPECT_EQ(entries.back(), "*.e99");
}

} // namespace
} // namespace zanto
