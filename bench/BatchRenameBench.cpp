// The whole batch (check pass, plan, journal, both passes, re-list) on real folders of
// 10,000 and 100,000 files, next to a plain loop of the system calls any such
// rename needs: the floor. Peak memory is reported as ru_maxrss.

#include "fs/NativeFileSystem.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/BatchRename.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
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
    BenchFolder(const std::string& tag, std::size_t count, std::size_t perShot)
    {
        static const char* const kShotTails[] = {".jpg", ".CR2", ".XMP", ".CR2.xmp"};
        std::string pattern = (std::filesystem::temp_directory_path() / ("zanto-bench-" + tag + "-XXXXXX")).string();
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

// Both folders of a size are made together and written out before any timing,
// so that neither run pays for the other's creation.
BenchFolder& folderFor(const std::string& tag, std::size_t count, std::size_t perShot)
{
    static std::map<std::tuple<std::string, std::size_t, std::size_t>, std::unique_ptr<BenchFolder>> folders;
    if (!folders[{tag, count, perShot}]) {
        for (const char* each : {"zanto", "floor"})
            folders[{each, count, perShot}] = std::make_unique<BenchFolder>(each, count, perShot);
        ::sync();
    }
    return *folders[{tag, count, perShot}];
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

void BM_Batch(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto perShot = static_cast<std::size_t>(state.range(1));
    BenchFolder& folder = folderFor("zanto", count, perShot);
    zanto::NativeFileSystem fs;
    // The journal's state folder on the same disk as the renamed folder.
    zanto::StateFolder stateFolder(folder.path() + "-state");
    zanto::BatchJournal journal(stateFolder, fs);
    using Clock = std::chrono::steady_clock;
    Clock::duration journalTime{};
    std::size_t steps = 0;
    bool second = false;
    for (auto _ : state) {
        // With shots the list holds the JPEGs, as the filter *.jpg shows them.
        std::vector<std::string> entries;
        for (const std::string& name : folder.names()) {
            if (perShot == 1 || name.ends_with(".jpg"))
                entries.push_back(name);
        }
        zanto::checkPass(folder.path(), entries, fs, [](const std::string&) { return false; },
                         [&](std::size_t) { ++steps; });
        const zanto::BatchPlan plan = zanto::planBatch(folder.path(), entries, second ? "b" : "a", fs,
                                                       zanto::clockSeededRandom(), {perShot > 1});
        auto started = Clock::now();
        auto run = journal.begin(plan);
        if (!run) {
            state.SkipWithError("journal not written");
            break;
        }
        journalTime += Clock::now() - started;
        // The step records the run makes between its passes count as the renames' time.
        const zanto::BatchReport report =
            zanto::applyBatch(plan, fs, [&](zanto::BatchPhase, std::size_t) { ++steps; }, run.get());
        started = Clock::now();
        if (!run->finish(report.states(), true))
            state.SkipWithError("journal not closed");
        journalTime += Clock::now() - started;
        if (report.stopped() || !report.unfinished().empty())
            state.SkipWithError("batch did not finish");
        if (fs.listNames(folder.path(), folder.names()) != zanto::FsError::None)
            state.SkipWithError("folder not read");
        second = !second;
        writeBack(state);
    }
    benchmark::DoNotOptimize(steps);
    const auto runs = static_cast<double>(state.iterations());
    state.counters["journal_ms"] = std::chrono::duration<double, std::milli>(journalTime).count() / runs;
    state.counters["fsyncs"] = static_cast<double>(stateFolder.syncs()) / runs;
    std::error_code ignored;
    std::filesystem::remove_all(folder.path() + "-state", ignored);
    state.counters["files"] = static_cast<double>(count);
    state.counters["maxrss_MB"] = maxRssMegabytes();
}

// The same system calls in a bare loop: open/close each file, renameat2 to a
// temporary name, renameat2 to the final name, readdir the folder.
void BM_Floor(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    BenchFolder& folder = folderFor("floor", count, static_cast<std::size_t>(state.range(1)));
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
            ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::snprintf(from, sizeof from, "%s/連番17変換失敗%06zu.jpg", dir, i);
            std::snprintf(to, sizeof to, "%s/%s%06zu.jpg", dir, second ? "b" : "a", i + 1);
            ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
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

} // namespace

// Interleaved so that each pair runs on a file system in the same state.
// Arguments: files, files per shot (4: numbered by shot, the list holding one of each).
BENCHMARK(BM_Batch)->Args({10'000, 1})->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({10'000, 1})->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Batch)->Args({100'000, 1})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({100'000, 1})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Batch)->Args({100'000, 4})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor)->Args({100'000, 4})->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();
