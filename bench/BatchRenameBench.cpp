// The whole batch as the window runs it (the plan told before the question,
// check pass, the plan again where no watch vouches for it, journal, both
// passes, re-list) on real folders of 10,000 and 100,000 files, next to a
// plain loop of the system calls any such rename needs: the floor. Peak
// memory is reported as ru_maxrss. Run as root, the same pair also runs on an
// exFAT card image mounted through exfat-fuse; otherwise that pair is skipped.

#include "fs/NativeFileSystem.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/BatchRename.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <tuple>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

// A folder of `count` empty files, kept for the whole run and removed at
// exit; with `perShot` 4, shots of a JPEG, a RAW and two sidecars.
class BenchFolder {
public:
    BenchFolder(const std::filesystem::path& parent, const std::string& tag, std::size_t count, std::size_t perShot)
    {
        static const char* const kShotTails[] = {".jpg", ".CR2", ".XMP", ".CR2.xmp"};
        std::string pattern = (parent / ("zanto-bench-" + tag + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        for (std::size_t i = 0; i < count; ++i) {
            char name[40];
            std::snprintf(name, sizeof name, "f%06zu%s", i / perShot, kShotTails[i % perShot]);
            const int fd = ::open((m_path + "/" + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd < 0)
                throw std::runtime_error("cannot create bench file");
            ::close(fd);
            m_names.emplace_back(name);
        }
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::vector<std::string>& names() { return m_names; }

private:
    std::string m_path;
    std::vector<std::string> m_names;
};

// An exFAT image on a loop device, mounted through exfat-fuse as a card
// reader's card is, for the whole run. Needs root; `mounted()` says whether it is.
class CardImage {
public:
    CardImage()
    {
        if (::geteuid() != 0)
            return;
        const auto temp = std::filesystem::temp_directory_path();
        m_image = (temp / "zanto-bench-card.img").string();
        m_mountPoint = (temp / "zanto-bench-card").string();
        std::filesystem::create_directories(m_mountPoint);
        const std::string setUp = "truncate -s 256M '" + m_image + "' && mkfs.exfat '" + m_image
            + "' >/dev/null 2>&1 && dev=$(losetup -f --show '" + m_image + "') && mount.exfat-fuse \"$dev\" '"
            + m_mountPoint + "' >/dev/null 2>&1";
        m_mounted = std::system(setUp.c_str()) == 0;
    }
    ~CardImage()
    {
        if (m_image.empty())
            return;
        const std::string tearDown = "umount '" + m_mountPoint + "' 2>/dev/null; for d in $(losetup -j '" + m_image
            + "' | cut -d: -f1); do losetup -d \"$d\"; done; rm -f '" + m_image + "'";
        if (std::system(tearDown.c_str()) != 0)
            std::fprintf(stderr, "card image not fully removed: %s\n", m_image.c_str());
    }
    CardImage(const CardImage&) = delete;
    CardImage& operator=(const CardImage&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& path() const { return m_mountPoint; }

private:
    std::string m_image;
    std::string m_mountPoint;
    bool m_mounted = false;
};

enum class Medium { LocalDisk, Card };

// The card is mounted at the first card benchmark and stays for the run.
CardImage* cardImage()
{
    static CardImage card;
    return card.mounted() ? &card : nullptr;
}

// Both folders of a size are made together and written out before any timing,
// so that neither run pays for the other's creation.
BenchFolder& folderFor(Medium medium, const std::string& tag, std::size_t count, std::size_t perShot)
{
    using Key = std::tuple<Medium, std::string, std::size_t, std::size_t>;
    static std::map<Key, std::unique_ptr<BenchFolder>> folders;
    if (!folders[{medium, tag, count, perShot}]) {
        const std::filesystem::path parent =
            medium == Medium::Card ? cardImage()->path() : std::filesystem::temp_directory_path().string();
        for (const char* each : {"zanto", "floor"})
            folders[{medium, each, count, perShot}] = std::make_unique<BenchFolder>(parent, each, count, perShot);
        ::sync();
    }
    return *folders[{medium, tag, count, perShot}];
}

// The card pair needs the card; false (the benchmark skipped) without it.
bool mediumReady(benchmark::State& state, Medium medium)
{
    if (medium == Medium::LocalDisk || cardImage() != nullptr)
        return true;
    state.SkipWithError("the card pair needs root, to mount an exFAT image");
    return false;
}

// Each timed pass starts with the previous one written out, so that the
// journal's writeback does not fall at random into one or the other.
void writeBack(benchmark::State& state)
{
    state.PauseTiming();
    ::sync();
    state.ResumeTiming();
}

double maxRssMegabytes()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void batch(benchmark::State& state, Medium medium)
{
    if (!mediumReady(state, medium))
        return;
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto perShot = static_cast<std::size_t>(state.range(1));
    BenchFolder& folder = folderFor(medium, "zanto", count, perShot);
    zanto::NativeFileSystem fs;
    // The journal's state folder on the local disk, as the user's home is.
    const std::string stateFolderPath =
        (std::filesystem::temp_directory_path() / std::filesystem::path(folder.path()).filename()).string() + "-state";
    zanto::StateFolder stateFolder(stateFolderPath);
    zanto::BatchJournal journal(stateFolder, fs);
    using Clock = std::chrono::steady_clock;
    // Where the time goes, per run.
    enum Phase { Plan, Check, Journal, Moves, Relist, kPhases };
    static const char* const kPhaseNames[kPhases] = {"plan_ms", "check_ms", "journal_ms", "moves_ms", "relist_ms"};
    Clock::duration spent[kPhases]{};
    auto started = Clock::now();
    auto lap = [&](Phase phase) {
        const auto now = Clock::now();
        spent[phase] += now - started;
        started = now;
    };
    std::size_t steps = 0;
    bool second = false;
    for (auto _ : state) {
        started = Clock::now();
        // With shots the list holds the JPEGs, as the filter *.jpg shows them.
        std::vector<std::string> entries;
        for (const std::string& name : folder.names()) {
            if (perShot == 1 || name.ends_with(".jpg"))
                entries.push_back(name);
        }
        // As the window does: the plan (told in the clash box), the check,
        // and the plan again where the check dropped an entry or no watch
        // says the folder stayed as it was.
        const std::string base = second ? "b" : "a";
        const zanto::BatchOptions options{perShot > 1};
        zanto::BatchPlan plan = zanto::planBatch(folder.path(), entries, base, fs, zanto::clockSeededRandom(), options);
        auto watch = fs.watch(folder.path());
        const std::size_t planned = entries.size();
        lap(Plan);
        zanto::checkPass(folder.path(), entries, fs, [](const std::string&) { return false; },
                         [&](std::size_t) { ++steps; });
        lap(Check);
        const bool unchanged = watch && !watch->changed();
        watch.reset();
        if (entries.size() != planned || !unchanged)
            plan = zanto::planBatch(folder.path(), entries, base, fs, zanto::clockSeededRandom(), options);
        lap(Plan);
        auto run = journal.begin(plan);
        if (!run) {
            state.SkipWithError("journal not written");
            break;
        }
        lap(Journal);
        // The step records the run makes between its passes count as the renames' time.
        const zanto::BatchReport report =
            zanto::applyBatch(plan, fs, [&](zanto::BatchPhase, std::size_t) { ++steps; }, run.get());
        lap(Moves);
        if (!run->finish(report.states(), true))
            state.SkipWithError("journal not closed");
        lap(Journal);
        if (report.stopped() || !report.unfinished().empty())
            state.SkipWithError("batch did not finish");
        if (fs.listNames(folder.path(), folder.names()) != zanto::FsError::None)
            state.SkipWithError("folder not read");
        lap(Relist);
        second = !second;
        writeBack(state);
    }
    benchmark::DoNotOptimize(steps);
    const auto runs = static_cast<double>(state.iterations());
    for (int phase = 0; phase < kPhases; ++phase)
        state.counters[kPhaseNames[phase]] = std::chrono::duration<double, std::milli>(spent[phase]).count() / runs;
    state.counters["fsyncs"] = static_cast<double>(stateFolder.syncs()) / runs;
    std::error_code ignored;
    std::filesystem::remove_all(stateFolderPath, ignored);
    state.counters["files"] = static_cast<double>(count);
    state.counters["maxrss_MB"] = maxRssMegabytes();
}

// A rename that never replaces: renameat2's flag, or once the file system
// has refused it (exfat-fuse), a check of the target and then rename().
void renameNoReplace(const char* from, const char* to)
{
    static bool flagRefused = false;
    if (!flagRefused) {
        if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0 || (errno != EINVAL && errno != ENOSYS))
            return;
        flagRefused = true;
    }
    struct stat info {};
    if (::lstat(to, &info) != 0)
        ::rename(from, to);
}

// The same system calls in a bare loop: open/close each file, a rename to a
// temporary name, a rename to the final name, readdir the folder.
void floor(benchmark::State& state, Medium medium)
{
    if (!mediumReady(state, medium))
        return;
    const auto count = static_cast<std::size_t>(state.range(0));
    BenchFolder& folder = folderFor(medium, "floor", count, static_cast<std::size_t>(state.range(1)));
    const char* dir = folder.path().c_str();
    char from[4096];
    char to[4096];
    bool second = false;
    for (auto _ : state) {
        auto& names = folder.names();
        for (const auto& name : names) {
            std::snprintf(from, sizeof from, "%s/%s", dir, name.c_str());
            const int fd = ::open(from, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::snprintf(from, sizeof from, "%s/%s", dir, names[i].c_str());
            std::snprintf(to, sizeof to, "%s/連番17変換失敗%06zu.jpg", dir, i);
            renameNoReplace(from, to);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::snprintf(from, sizeof from, "%s/連番17変換失敗%06zu.jpg", dir, i);
            std::snprintf(to, sizeof to, "%s/%s%06zu.jpg", dir, second ? "b" : "a", i + 1);
            renameNoReplace(from, to);
        }
        names.clear();
        DIR* listing = ::opendir(dir);
        while (const dirent* entry = ::readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
        ::closedir(listing);
        second = !second;
        writeBack(state);
    }
    state.counters["files"] = static_cast<double>(count);
    state.counters["maxrss_MB"] = maxRssMegabytes();
}

void BM_Batch(benchmark::State& state) { batch(state, Medium::LocalDisk); }
void BM_Floor(benchmark::State& state) { floor(state, Medium::LocalDisk); }
void BM_CardBatch(benchmark::State& state) { batch(state, Medium::Card); }
void BM_CardFloor(benchmark::State& state) { floor(state, Medium::Card); }

} // namespace

// Interleaved so that each pair runs on a file system in the same state.
// Arguments: files, files per shot (4: numbered by shot, the list holding one of each).
BENCHMARK(BM_Batch)->Args({10'000, 1})->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({10'000, 1})->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Batch)->Args({100'000, 1})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({100'000, 1})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Batch)->Args({100'000, 4})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({100'000, 4})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
// A card of 10,000 pictures, as exfat-fuse serves it.
BENCHMARK(BM_CardBatch)->Args({10'000, 1})->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CardFloor)->Args({10'000, 1})->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
