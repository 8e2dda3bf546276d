#include "rename/BatchRename.h"
#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The batch rename killed with SIGKILL at random moments: whatever instant the
// process dies, every file is still in the folder with its content, under its
// old, its temporary or its new name, and nothing outside the list moves.

namespace zanto::test {
namespace {

constexpr std::size_t kListed = 600;
constexpr int kKills = 40;
constexpr std::uint32_t kSeed = 0x5A4E544F; // repeatable kill times and prefixes

TEST(CrashTest, AKilledRunLosesNoFileAndLeavesEachUnderOneOfItsThreeNames)
{
    TempFolder folder;
    std::vector<std::string> contentsInOrder; // the user's list, by content
    std::mt19937 random(kSeed);
    for (std::size_t i = 0; i < kListed; ++i) {
        // Old names that are new names of other entries force the temporary names.
        const std::string name = i % 3 == 0 ? std::to_string(100 + (i * 7) % kListed) + ".jpg"
                                            : "写真" + std::to_string(i) + (i % 3 == 1 ? ".JPG" : "");
        folder.write(name, "listed " + std::to_string(i));
        contentsInOrder.push_back("listed " + std::to_string(i));
    }
    std::shuffle(contentsInOrder.begin(), contentsInOrder.end(), random);
    folder.write("012.jpg", "outside"); // a new name of the run held outside the list
    const auto outside = folder.contents().at("012.jpg");

    NativeFileSystem fs;
    std::chrono::microseconds runLength{0};
    int kills = 0;
    for (int round = 0; kills < kKills && round < 4 * kKills; ++round) {
        std::map<std::string, std::string> nameOf; // content -> name
        for (const auto& [name, content] : folder.contents())
            nameOf[content] = name;
        std::vector<std::string> entries;
        for (const auto& content : contentsInOrder)
            entries.push_back(nameOf.at(content));
        const BatchPlan plan = planBatch(folder.path(), entries, round % 2 ? "旅行" : "", fs,
                                         [engine = std::mt19937(kSeed + static_cast<std::uint32_t>(round))]() mutable {
                                             return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
                                         });
        ASSERT_EQ(plan.status, PlanStatus::Ready);

        // The first round runs whole and sets the span the kills are spread over.
        const auto started = std::chrono::steady_clock::now();
        const auto delay = round == 0 ? std::chrono::microseconds(0)
                                      : std::chrono::microseconds(std::uniform_int_distribution<long long>(
                                            1, runLength.count())(random));
        const pid_t child = ::fork();
        if (child == 0) {
            applyBatch(plan, fs);
            ::_exit(0);
        }
        if (delay.count() > 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;
        if (round == 0)
            runLength = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);

        const auto after = folder.contents();
        ASSERT_EQ(after.size(), kListed + 1) << "round " << round;
        ASSERT_EQ(after.at("012.jpg"), outside);
        std::map<std::string, std::string> whereNow;
        for (const auto& [name, content] : after)
            whereNow[content] = name;
        for (std::size_t p = 0; p < plan.items.size(); ++p) {
            const BatchItem& item = plan.items[p];
            const std::string& name = whereNow.at(contentsInOrder[p]);
            ASSERT_TRUE(name == item.original || name == item.temporary || name == item.final)
                << "round " << round << ": " << item.original << " stands under " << name;
        }
    }
    EXPECT_EQ(kills, kKills);
}

} // namespace
} // namespace zanto::test
