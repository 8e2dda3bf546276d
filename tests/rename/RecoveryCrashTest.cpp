#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"
#include "ui/StateFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The journaled batch killed with SIGKILL at random moments, and now and then
// the recovery after it killed too; then recovery runs to its end, back or
// forward by turns. Every listed file must end under its original name (back)
// or its final name (forward), no content may be lost, no other file touched.

namespace zanto::test {
namespace {

constexpr std::size_t kListed = 400;
constexpr int kWantedKills = 60;
constexpr int kMaxRounds = 200;
constexpr std::uint32_t kSeed = 0x4A4F5552; // repeatable kill times and prefixes

RandomSource seeded(std::uint32_t seed)
{
    return [engine = std::mt19937(seed), uniform = std::uniform_real_distribution<double>(0.0, 1.0)]() mutable {
        return uniform(engine);
    };
}

class RecoveryCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < kListed; ++i) {
            // Old names that are new names of others ("7.jpg"), so that names are exchanged.
            const std::string name = i % 3 == 0 ? std::to_string(i / 2 + 1) + ".jpg" : "写真" + std::to_string(i) + ".jpg";
            folder.write(name, "listed " + std::to_string(i));
            listed.push_back("listed " + std::to_string(i));
        }
        for (int i = 0; i < 8; ++i)
            folder.write("keep" + std::to_string(i) + ".txt", "outside " + std::to_string(i));
        before = folder.contents();
    }

    // Forks `work` and kills it after `delay`; true when the kill struck.
    static bool killedAfter(std::chrono::microseconds delay, const std::function<void()>& work)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            work();
            ::_exit(0);
        }
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }

    void recover(RecoveryDirection direction)
    {
        NativeFileSystem fs;
        BatchJournal journal(state, fs);
        Journal pending;
        if (journal.pending(pending) != BatchJournal::Pending::Unfinished)
            return;
        EXPECT_TRUE(recoverBatch(pending, direction, fs).empty());
        journal.closeRecovered(direction == RecoveryDirection::Forward);
    }

    // True when the folder holds exactly the listed contents under the given
    // names of the plan's items, and the outside files.
    bool allUnder(const Contents& now, const BatchPlan& plan, std::string BatchItem::*name) const
    {
        Contents expected;
        for (std::size_t i = 0; i < kListed; ++i)
            expected[plan.items[i].*name] = listed[i];
        for (const auto& [outside, content] : before) {
            if (outside.starts_with("keep"))
                expected[outside] = content;
        }
        return now == expected;
    }

    std::vector<std::string> entries() const
    {
        std::map<std::string, std::string> where;
        for (const auto& [name, content] : folder.contents())
            where[content] = name;
        std::vector<std::string> names;
        for (const auto& content : listed)
            names.push_back(where[content]);
        return names;
    }

    TempFolder folder;
    TempFolder stateHome;
    StateFolder state{stateHome.path() + "/TOLVA"};
    std::vector<std::string> listed; // content of each list position
    Contents before;
};

TEST_F(RecoveryCrashTest, EveryFileEndsUnderItsOriginalOrFinalNameWhateverTheKill)
{
    NativeFileSystem fs;
    std::mt19937 random(kSeed);
    const auto batch = [&](const BatchPlan& plan) {
        NativeFileSystem childFs;
        StateFolder childState(stateHome.path() + "/TOLVA");
        BatchJournal journal(childState, childFs);
        if (journal.begin(plan))
            journal.end(plan, applyBatch(plan, childFs));
    };
    const auto started = std::chrono::steady_clock::now();
    batch(planBatch(folder.path(), entries(), "x", fs, seeded(kSeed)));
    // A run that ends before its kill narrows the range: a busy machine may
    // have made the first run slow.
    auto limit = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const auto delay = [&] { return limit * std::uniform_real_distribution<double>(0.0, 1.25)(random); };

    int kills = 0;
    int recoveryKills = 0;
    for (int round = 0; round < kMaxRounds && kills < kWantedKills && !HasFailure(); ++round) {
        const auto direction = round % 2 == 0 ? RecoveryDirection::Back : RecoveryDirection::Forward;
        const BatchPlan plan = planBatch(folder.path(), entries(), round % 2 ? "旅行" : "", fs, seeded(kSeed + round));
        const bool killed = killedAfter(std::chrono::duration_cast<std::chrono::microseconds>(delay()), [&] { batch(plan); });
        kills += killed;
        if (!killed)
            limit = limit * 3 / 4;
        if (round % 2 == 0) {
            const auto other = round % 4 == 0 ? RecoveryDirection::Forward : RecoveryDirection::Back;
            recoveryKills += killedAfter(std::chrono::duration_cast<std::chrono::microseconds>(delay() / 3),
                                         [&] { recover(other); });
        }
        recover(direction);

        const Contents now = folder.contents();
        EXPECT_TRUE(allUnder(now, plan, &BatchItem::original) || allUnder(now, plan, &BatchItem::final)) << round;
    }
    std::cout << "[ figures  ] kills " << kills << ", during recovery " << recoveryKills << std::endl;
    EXPECT_GE(kills + recoveryKills, 50);
    EXPECT_GE(recoveryKills, 5);
}

} // namespace
} // namespace zanto::test
