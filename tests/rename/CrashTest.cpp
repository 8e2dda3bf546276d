#include "rename/BatchRename.h"
#include "tests/support/TempFolder.h"
#include "ui/NativeFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The batch rename killed with SIGKILL at random moments: whatever instant the
// process dies, every file must still be in the folder with its content, under
// its old, its temporary or its new name, and nothing outside the list moves.

namespace zanto::test {
namespace {

constexpr std::size_t kListed = 2000;
constexpr std::size_t kOutside = 24;
constexpr int kWantedKills = 60;
constexpr int kMaxRounds = 200;
constexpr int kCalibrationRuns = 3;
constexpr std::uint32_t kSeed = 0x5A4E544F; // repeatable kill times and prefixes

using Clock = std::chrono::steady_clock;

std::uint64_t fnv1a(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char ch : bytes) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

// name -> hash of the file's content, for every regular file of the folder.
std::map<std::string, std::uint64_t> hashFolder(const TempFolder& folder)
{
    std::map<std::string, std::uint64_t> hashes;
    for (const auto& [name, content] : folder.contents())
        hashes[name] = fnv1a(content);
    return hashes;
}

RandomSource seededRandom(std::uint32_t seed)
{
    return [engine = std::mt19937(seed), uniform = std::uniform_real_distribution<double>(0.0, 1.0)]() mutable {
        return uniform(engine);
    };
}

std::string fourDigits(std::size_t value)
{
    std::string digits = std::to_string(value);
    return std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
}

// Names of several kinds; some old names are new names of other entries
// ("0007.jpg"), so that the run must go through its temporary names.
std::string listedName(std::size_t i)
{
    switch (i % 4) {
    case 0:
        return fourDigits(i / 2 + 1) + ".jpg";
    case 1:
        return "IMG_" + std::to_string(i) + ".JPG";
    case 2:
        return "写真" + std::to_string(i) + ".png";
    default:
        return "README" + std::to_string(i);
    }
}

// Where the files of a round stood when the process died.
enum class Moment { BeforeFirstMove, FirstPass, SecondPass, Completed };

struct Round {
    BatchPlan plan;
    std::uint32_t seed;
    std::string base;
};

// Runs the real planning and renaming in a child process; returns its pid.
pid_t startChild(const TempFolder& folder, const std::vector<std::string>& entries, const Round& round)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        NativeFileSystem fs;
        const BatchPlan plan = planBatch(folder.path(), entries, round.base, fs, seededRandom(round.seed));
        const bool samePlan = plan.prefix == round.plan.prefix && plan.status == PlanStatus::Ready;
        if (samePlan)
            applyBatch(plan, fs);
        ::_exit(samePlan ? 0 : 3);
    }
    return pid;
}

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < kListed; ++i) {
            const std::string name = listedName(i);
            folder.write(name, "listed " + std::to_string(i) + " " + name + " " + std::to_string(i * 7919 % 10007));
            order.push_back(name);
        }
        std::shuffle(order.begin(), order.end(), std::mt19937(kSeed));
        for (std::size_t i = 0; i < kOutside; ++i) {
            // Some of them hold new names of the run: those entries stay under their temporary names.
            const std::string name = i % 2 == 0 ? fourDigits(i * 97 + 3) + ".png" : "keep" + std::to_string(i) + ".txt";
            folder.write(name, "outside " + std::to_string(i));
            outside[name] = fnv1a(readFile(folder.pathOf(name)));
        }
        const auto before = hashFolder(folder);
        for (const auto& name : order)
            listedHashes.push_back(before.at(name));
        for (const auto& [name, hash] : before)
            allHashes.push_back(hash);
        std::sort(allHashes.begin(), allHashes.end());
        ASSERT_EQ(std::adjacent_find(allHashes.begin(), allHashes.end()), allHashes.end()) << "contents must differ";
        ASSERT_EQ(allHashes.size(), kListed + kOutside);
    }

    // The names that now hold the listed contents, in the user's order: the
    // list a user would run again after the crash.
    std::vector<std::string> currentEntries(const std::map<std::string, std::uint64_t>& now) const
    {
        std::map<std::uint64_t, std::string> where;
        for (const auto& [name, hash] : now)
            where[hash] = name;
        std::vector<std::string> entries;
        for (const auto hash : listedHashes)
            entries.push_back(where.at(hash));
        return entries;
    }

    Round nextRound(const std::vector<std::string>& entries, int number)
    {
        Round round;
        round.seed = kSeed + static_cast<std::uint32_t>(number);
        round.base = number % 2 == 0 ? "" : "旅行";
        round.plan = planBatch(folder.path(), entries, round.base, fs, seededRandom(round.seed));
        return round;
    }

    // Checks the folder against the round's plan; returns the moment the run
    // had reached, counting lost files and misplaced ones.
    Moment check(const Round& round, const std::map<std::string, std::uint64_t>& now, bool completed)
    {
        filesChecked += now.size();
        std::vector<std::uint64_t> hashes;
        std::map<std::uint64_t, std::string> where;
        for (const auto& [name, hash] : now) {
            hashes.push_back(hash);
            where[hash] = name;
        }
        std::sort(hashes.begin(), hashes.end());
        std::vector<std::uint64_t> gone;
        std::set_difference(allHashes.begin(), allHashes.end(), hashes.begin(), hashes.end(), std::back_inserter(gone));
        filesLost += gone.size();
        EXPECT_EQ(hashes, allHashes) << "the folder must hold the same contents";

        for (const auto& [name, hash] : outside) {
            const auto found = now.find(name);
            if (found == now.end() || found->second != hash) {
                ++misplaced;
                ADD_FAILURE() << "a file outside the list changed: " << name;
            }
        }

        std::array<std::size_t, 3> counts{}; // old, temporary, new name
        for (std::size_t p = 0; p < round.plan.items.size(); ++p) {
            const BatchItem& item = round.plan.items[p];
            const auto found = where.find(listedHashes[p]);
            if (found == where.end())
                continue; // counted as lost above
            const std::string& name = found->second;
            // A new name may equal another entry's old name: the content decides.
            if (name == item.final)
                ++counts[2];
            else if (name == item.temporary)
                ++counts[1];
            else if (name == item.original)
                ++counts[0];
            else {
                ++misplaced;
                ADD_FAILURE() << "entry " << p << " (" << item.original << ") stands under " << name;
            }
        }
        // Entries whose new names are held outside the list stay under their temporary names.
        if (completed)
            return Moment::Completed;
        if (counts[0] == kListed)
            return Moment::BeforeFirstMove;
        return counts[2] == 0 ? Moment::FirstPass : Moment::SecondPass;
    }

    TempFolder folder;
    NativeFileSystem fs;
    std::vector<std::string> order;           // the user's list at the start
    std::vector<std::uint64_t> listedHashes;  // content of each list position
    std::vector<std::uint64_t> allHashes;     // every content, sorted
    std::map<std::string, std::uint64_t> outside;
    std::size_t filesChecked = 0;
    std::size_t filesLost = 0;
    std::size_t misplaced = 0;
};

TEST_F(CrashTest, AKilledRunLosesNoFileAndLeavesEachUnderOneOfItsThreeNames)
{
    std::mt19937 random(kSeed);
    std::vector<std::string> entries = order;

    // Whole runs first: their typical length spreads the kills over planning,
    // both passes and the end. The median, since a busy disk makes single runs slow.
    Round round;
    std::map<std::string, std::uint64_t> now;
    std::vector<long long> lengths;
    for (int run = 0; run < kCalibrationRuns; ++run) {
        round = nextRound(entries, -1 - run);
        ASSERT_EQ(round.plan.status, PlanStatus::Ready);
        const auto started = Clock::now();
        const pid_t child = startChild(folder, entries, round);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        lengths.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child planned differently";
        now = hashFolder(folder);
        check(round, now, true);
        entries = currentEntries(now);
    }
    std::sort(lengths.begin(), lengths.end());
    const auto runLength = std::chrono::microseconds(lengths[lengths.size() / 2]);

    std::uniform_int_distribution<long long> delay(0, runLength.count());
    std::map<Moment, int> moments;
    int kills = 0;
    int rounds = 0;
    int status = 0;
    while (kills < kWantedKills && rounds < kMaxRounds) {
        ++rounds;
        entries = currentEntries(now);
        round = nextRound(entries, rounds);
        ASSERT_EQ(round.plan.status, PlanStatus::Ready);
        const auto wait = std::chrono::microseconds(delay(random));
        const pid_t child = startChild(folder, entries, round);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(wait);
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (killed)
            ++kills;
        else
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child planned differently";
        now = hashFolder(folder);
        ++moments[check(round, now, !killed)];
        if (HasFailure())
            break;
    }

    std::cout << "[ figures  ] run length " << runLength.count() << " us, rounds " << rounds << ", kills " << kills
              << ", files checked " << filesChecked << ", files lost " << filesLost << ", misplaced " << misplaced
              << "\n[ figures  ] died before the first move " << moments[Moment::BeforeFirstMove]
              << ", in the first pass " << moments[Moment::FirstPass] << ", in the second pass "
              << moments[Moment::SecondPass] << "; runs that ended before the kill "
              << moments[Moment::Completed] << std::endl;
    RecordProperty("kills", kills);
    RecordProperty("files_checked", static_cast<int>(filesChecked));
    RecordProperty("files_lost", static_cast<int>(filesLost));
    EXPECT_GE(kills, 50);
    EXPECT_EQ(filesLost, 0u);
    EXPECT_EQ(misplaced, 0u);
}

} // namespace
} // namespace zanto::test
