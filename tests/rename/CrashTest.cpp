#include "fs/NativeFileSystem.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/TempFolder.h"

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
// forward by turns. Right after the kill every listed file stands under its
// original, temporary or final name; after recovery all under the original
// (back) or all under the final (forward). No content is lost, no other file
// touched.

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

class CrashTest : public ::testing::Test {
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
        StateFolder files(stateHome.path() + "/TOLVA");
        BatchJournal journal(files, fs);
        auto pending = journal.pending();
        if (pending.empty())
            return;
        ASSERT_EQ(pending.size(), 1u);
        JournalRun& run = *pending.front().run;
        const BatchReport report = recoverBatch(run.journal(), direction, fs, &run);
        EXPECT_TRUE(report.notAt(direction == RecoveryDirection::Back ? EntryState::Original : EntryState::Final).empty());
        EXPECT_TRUE(run.finish(report.states(), direction == RecoveryDirection::Forward));
    }

    // True when the folder holds the outside files as they were and each
    // listed content once, under one of the given names of its item.
    bool allUnder(const Contents& now, const BatchPlan& plan, std::initializer_list<std::string BatchItem::*> names) const
    {
        std::map<std::string, std::string> where; // content -> name
        for (const auto& [name, content] : now)
            where[content] = name;
        if (now.size() != before.size() || where.size() != now.size())
            return false;
        for (std::size_t i = 0; i < kListed; ++i) {
            if (std::none_of(names.begin(), names.end(), [&](auto name) { return where[listed[i]] == plan.items[i].*name; }))
                return false;
        }
        return std::all_of(before.begin(), before.end(), [&](const auto& file) {
            return !file.first.starts_with("keep") || where[file.second] == file.first;
        });
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
    std::vector<std::string> listed; // content of each list position
    Contents before;
};

TEST_F(CrashTest, EveryFileStaysUnderOneOfItsNamesAndRecoveryEndsTheRunEitherWay)
{
    NativeFileSystem fs;
    std::mt19937 random(kSeed);
    const auto batch = [&](const BatchPlan& plan) {
        NativeFileSystem childFs;
        StateFolder childState(stateHome.path() + "/TOLVA");
        BatchJournal journal(childState, childFs);
        if (auto run = journal.begin(plan)) {
            const BatchReport report = applyBatch(plan, childFs, {}, run.get());
            EXPECT_TRUE(run->finish(report.states(), true));
        }
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
        EXPECT_TRUE(allUnder(folder.contents(), plan, {&BatchItem::original, &BatchItem::temporary, &BatchItem::final}))
            << "after the kill in round " << round;
        if (round % 2 == 0) {
            const auto other = round % 4 == 0 ? RecoveryDirection::Forward : RecoveryDirection::Back;
            recoveryKills += killedAfter(std::chrono::duration_cast<std::chrono::microseconds>(delay() / 3),
                                         [&] { recover(other); });
        }
        recover(direction);

        const Contents now = folder.contents();
        EXPECT_TRUE(allUnder(now, plan, {&BatchItem::original}) || allUnder(now, plan, {&BatchItem::final})) << round;
    }
    std::cout << "[ figures  ] kills " << kills << ", during recovery " << recoveryKills << std::endl;
    EXPECT_GE(kills + recoveryKills, 50);
    EXPECT_GE(recoveryKills, 5);
}

} // namespace
} // namespace zanto::test
