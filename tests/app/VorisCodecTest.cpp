#include "app/VorisCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zanto {
namespace {

std::vector<std::string> numbered(std::size_t count)
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < count; ++i)
        entries.push_back("*.e" + std::to_string(i));
    return entries;
}

TEST(VorisCodec, StoresLastEntryFirstAndReadsBackInOrder)
{
    const std::vector<std::string> list{"*.jpg", "*.gif", "*.png"};
    const std::string stored = VorisCodec::join(list);
    EXPECT_EQ(stored, "*.png;*.gif;*.jpg");
    EXPECT_EQ(VorisCodec::split(stored), list);
}

TEST(VorisCodec, EmptyListAndEmptyTextCorrespond)
{
    EXPECT_EQ(VorisCodec::join({}), "");
    EXPECT_TRUE(VorisCodec::split("").empty());
}

TEST(VorisCodec, EntriesAreTakenAsTheyStand)
{
    // No trimming and no case folding: the dialog decides what goes in.
    EXPECT_EQ(VorisCodec::join({"*.JPG", "*. a", "*.jpg"}), "*.jpg;*. a;*.JPG");
    EXPECT_EQ(VorisCodec::split("*.jpg;*. a;*.JPG"), (std::vector<std::string>{"*.JPG", "*. a", "*.jpg"}));
}

TEST(VorisCodec, StrayEmptyPiecesAreSkipped)
{
    EXPECT_EQ(VorisCodec::split(";*.gif;;*.jpg;"), (std::vector<std::string>{"*.jpg", "*.gif"}));
    EXPECT_TRUE(VorisCodec::split(";;").empty());
}

TEST(VorisCodec, HundredAndOneEntriesRoundTrip)
{
    const auto list = numbered(101);
    EXPECT_EQ(VorisCodec::split(VorisCodec::join(list)), list);
}

TEST(VorisCodec, JoiningStopsAtTheBound)
{
    const auto list = numbered(102);
    const std::string stored = VorisCodec::join(list);
    EXPECT_EQ(stored.rfind("*.e100;", 0), 0u) << "the 101st entry leads";
    EXPECT_EQ(stored.find("*.e101"), std::string::npos);
    EXPECT_EQ(VorisCodec::split(stored), numbered(101));
}

TEST(VorisCodec, SplittingDropsTheFrontOfALongerText)
{
    // 102 entries written elsewhere: the entries come from the end of the
    // text, so the one standing at its front is lost.
    std::string stored = "*.back";
    for (const std::string& entry : numbered(101))
        stored = entry + ";" + stored;
    ASSERT_EQ(stored.rfind("*.e100;", 0), 0u);
    const auto entries = VorisCodec::split(stored);
    ASSERT_EQ(entries.size(), 101u);
    EXPECT_EQ(entries.front(), "*.back");
    EXPECT_EQ(entries.back(), "*.e99");
}

} // namespace
} // namespace zanto
