// Opening a folder of 100,000 files: the bare readdir loop against the file
// list's own listing (filter, file-type check, natural order), and against
// the whole folder change of the main window (both lists filled and painted);
// the file list's step of simple mode's Down, the rename list's new-name
// tip with shots on, and the table of new names.
#include "listing/DirectoryListing.h"
#include "app/NewNameTip.h"
#include "app/NewNamesWindow.h"
#include "rename/NewNameTable.h"
#include "browse/FileListBox.h"
#include "browse/ListBox.h"
#include "listing/NaturalOrder.h"
#include "listing/WildcardPattern.h"
#include "fs/NativeFileSystem.h"
#include "app/ProgramValues.h"
#include "app/Tolva.h"
#include "ui/IniSettingsStore.h"
#include "ui/QtMessenger.h"
#include "ui/QtShellOpener.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 100000;

// Two folders made once per run: every file a .jpg, and a mixed one where
// 10,000 .jpg and 10,000 .png stand among 80,000 other files.
struct Folders {
    std::string allMatching;
    std::string mixed;
};

void makeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

std::string makeFolder(const std::string& root, const std::string& name, bool mixed)
{
    const std::string folder = root + "/" + name;
    std::filesystem::create_directories(folder);
    std::vector<int> numbers(kFiles);
    for (int i = 0; i < kFiles; ++i)
        numbers[i] = i + 1;
    std::mt19937 random(42);
    std::shuffle(numbers.begin(), numbers.end(), random);
    static const char* const kOthers[] = {".txt", ".mov", ".raw", ".xmp", ".dat", ".heic", ".tif", ".pdf"};
    for (int i = 0; i < kFiles; ++i) {
        std::string ending = ".jpg";
        if (mixed)
            ending = i % 10 == 0 ? ".jpg" : i % 10 == 1 ? ".PNG" : kOthers[i % 8];
        makeFile(folder + "/IMG_" + std::to_string(numbers[i]) + ending);
    }
    return folder;
}

const Folders& folders()
{
    static const Folders made = [] {
        const std::string root = (std::filesystem::temp_directory_path() / "zanto-bench-listing").string();
        std::filesystem::remove_all(root);
        return Folders{makeFolder(root, "all", false), makeFolder(root, "mixed", true)};
    }();
    return made;
}

double peakRssMb()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

const std::string& folderFor(const benchmark::State& state)
{
    return state.range(0) == 0 ? folders().allMatching : folders().mixed;
}

// The floor: names read, nothing else.
void BM_ReaddirOnly(benchmark::State& state)
{
    const std::string& folder = folderFor(state);
    for (auto _ : state) {
        std::vector<std::string> names;
        DIR* dir = ::opendir(folder.c_str());
        while (const dirent* entry = ::readdir(dir))
            names.emplace_back(entry->d_name);
        ::closedir(dir);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}

void BM_ListMatchingFiles(benchmark::State& state)
{
    const std::string& folder = folderFor(state);
    const zanto::WildcardPattern pattern("*.jpg;*.png");
    std::size_t count = 0;
    for (auto _ : state) {
        std::vector<std::string> names;
        zanto::NativeFileSystem fs;
        zanto::listMatchingFiles(fs, folder, pattern, names);
        count = names.size();
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["names"] = static_cast<double>(count);
    state.counters["peak_rss_MB"] = peakRssMb();
}

// What a folder change does: the file list reads, filters and orders the
// folder, the rename list takes a copy, and both lists lay out and paint.
void BM_OpenFolderInBothLists(benchmark::State& state)
{
    const std::string& folder = folderFor(state);
    QWidget window;
    zanto::NativeFileSystem fileSystem;
    auto* file = new zanto::FileListBox(fileSystem, &window);
    auto* list = new zanto::ListBox(&window);
    file->setGeometry(0, 0, 177, 174);
    list->setGeometry(180, 0, 143, 196);
    window.resize(330, 200);
    window.show();
    file->setPattern(QStringLiteral("*.jpg;*.png"));
    int shown = 0;
    for (auto _ : state) {
        file->setPath(folder);
        list->setItems(file->items());
        shown = list->count();
        benchmark::DoNotOptimize(file->grab());
        benchmark::DoNotOptimize(list->grab());
        state.PauseTiming();
        file->setPath({});
        list->clear();
        state.ResumeTiming();
    }
    state.counters["names"] = shown;
    state.counters["peak_rss_MB"] = peakRssMb();
}

// Start-up with a remembered folder of 100,000 files, after QApplication:
// the main window built, the folder loaded into its lists and painted (2),
// against a bare window of its size painted (0) and the folder's bare
// reading (1). Goal: (2) within 1.5 times (0) + (1).
void BM_StartUp(benchmark::State& state)
{
    const std::string& folder = folders().allMatching;
    const auto config = std::filesystem::path(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString()) / "TOLVA";
    std::filesystem::create_directories(config);
    {
        std::FILE* ini = std::fopen((config / "TOLVA.ini").c_str(), "w");
        std::fprintf(ini, "[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\nKALDEN=%s\n", folder.c_str());
        std::fclose(ini);
    }
    const auto which = state.range(0);
    zanto::ProgramValues values;
    zanto::IniSettingsStore store;
    zanto::QtMessenger messenger;
    zanto::NativeFileSystem fileSystem;
    zanto::QtShellOpener shell;
    std::size_t names = 0;
    for (auto _ : state) {
        if (which == 0) {
            QWidget bare;
            bare.resize(647, 540);
            bare.show();
            benchmark::DoNotOptimize(bare.grab());
            state.PauseTiming();
        } else if (which == 1) {
            std::vector<std::string> listed;
            benchmark::DoNotOptimize(fileSystem.listNames(folder, listed));
            names = listed.size();
            state.PauseTiming();
        } else {
            auto window = std::make_unique<zanto::Tolva>(
                values, zanto::TolvaServices{store, messenger, fileSystem, shell, [] { std::abort(); }, nullptr});
            window->Form_Load();
            window->show();
            benchmark::DoNotOptimize(window->grab());
            state.PauseTiming();
            window.reset();
        }
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["names"] = static_cast<double>(names);
}

// What each Down of simple mode asks of the file list in a folder of
// 100,000 files: read again (0), or kept while the folder is unchanged (1).
void BM_DownStep(benchmark::State& state)
{
    zanto::NativeFileSystem fileSystem;
    zanto::FileListBox file(fileSystem);
    file.resize(177, 174);
    static_cast<void>(file.setPattern(QStringLiteral("*.jpg;*.png")));
    static_cast<void>(file.setPath(folders().allMatching));
    for (auto _ : state) {
        benchmark::DoNotOptimize(state.range(0) == 0 ? file.refresh() : file.refreshIfChanged());
        file.setListIndex(file.count() / 2);
    }
    state.counters["names"] = file.count();
}

// A tip over 100,000 entries, shots on: asked at once after the list changed,
// it works out the run's names itself (0); with nothing changed it reuses
// them (1); asked after the desktop's delay before a tip, it takes the names
// worked out meanwhile on their own thread (2). `copy_ms`: the window's part
// in starting that thread, the list copied.
void BM_Tip(benchmark::State& state)
{
    zanto::NativeFileSystem fileSystem;
    QWidget window;
    auto* list = new zanto::ListBox(&window);
    auto* base = new QLineEdit(QStringLiteral("旅行"), &window);
    std::vector<std::string> names;
    static_cast<void>(fileSystem.listNames(folders().allMatching, names));
    zanto::sortNaturally(names);
    list->setItems(names);
    const zanto::NewNameTip tip(
        *list, *base, [] { return zanto::BatchOptions{true}; }, [] { return folders().allMatching; }, fileSystem,
        &window);
    benchmark::DoNotOptimize(tip.text(0));
    const int hoverDelay = QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
    for (auto _ : state) {
        if (state.range(0) != 1) {
            state.PauseTiming();
            list->swap(0, 1);
            if (state.range(0) == 2) {
                QEventLoop hover;
                QTimer::singleShot(hoverDelay, &hover, &QEventLoop::quit);
                hover.exec();
            }
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(tip.text(kFiles / 2));
    }
    const auto copyStart = std::chrono::steady_clock::now();
    const std::vector<std::string> copy = list->items();
    benchmark::DoNotOptimize(copy.data());
    state.counters["copy_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - copyStart).count();
    state.counters["hover_delay_ms"] = hoverDelay;
}

// 新しい名前の一覧 of 100,000 entries, from the menu to the table painted:
// the run planned, the folder read for the files outside it, the rows made
// and the window shown, without shots (0) and with (1). Goal: within 1 s. `longest_gap_ms`: the longest the
// window waits between two pulses meanwhile (it is kept answering at each).
void BM_NewNames(benchmark::State& state)
{
    zanto::NativeFileSystem fileSystem;
    const std::string& folder = folders().allMatching;
    std::vector<std::string> entries;
    static_cast<void>(fileSystem.listNames(folder, entries));
    zanto::sortNaturally(entries);
    const zanto::BatchOptions options{state.range(0) == 1, {}, {}};
    double longestGap = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        auto last = std::chrono::steady_clock::now();
        const zanto::Pulse pulse = [&] {
            const auto now = std::chrono::steady_clock::now();
            longestGap = std::max(longestGap, std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        };
        const zanto::BatchPlan plan =
            zanto::planBatch(folder, entries, "旅行", fileSystem, zanto::clockSeededRandom(), options, pulse);
        std::vector<std::string> names;
        static_cast<void>(fileSystem.listNames(folder, names));
        pulse();
        zanto::NewNameTable table = zanto::newNameTable(plan, entries, "旅行", names, options, pulse);
        rows = table.rows.size();
        zanto::NewNamesWindow window(std::move(table), {}, nullptr);
        window.show();
        benchmark::DoNotOptimize(window.grab());
        state.PauseTiming();
        window.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["peak_rss_mb"] = peakRssMb();
}

void BM_NaturalSortOnly(benchmark::State& state)
{
    std::vector<std::string> source;
    for (int i = 0; i < kFiles; ++i)
        source.push_back("IMG_" + std::to_string((i * 7919) % kFiles + 1) + ".jpg");
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> names = source;
        state.ResumeTiming();
        zanto::sortNaturally(names);
        benchmark::DoNotOptimize(names.data());
    }
}

void BM_WildcardOnly(benchmark::State& state)
{
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i)
        names.push_back("IMG_" + std::to_string(i) + (i % 5 == 0 ? ".JPG" : ".txt"));
    const zanto::WildcardPattern pattern("*.jpg;*.png");
    for (auto _ : state) {
        int matched = 0;
        for (const auto& name : names)
            matched += pattern.matches(name) ? 1 : 0;
        benchmark::DoNotOptimize(matched);
    }
}

} // namespace

BENCHMARK(BM_ReaddirOnly)->Arg(0)->Arg(1)->ArgName("mixed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListMatchingFiles)->Arg(0)->Arg(1)->ArgName("mixed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFolderInBothLists)->Arg(0)->Arg(1)->ArgName("mixed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownStep)->Arg(0)->Arg(1)->ArgName("kept")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tip)->DenseRange(0, 1)->ArgName("atonce_unchanged_afterdelay")->Unit(benchmark::kMillisecond);
// Each of its steps waits out the delay untimed: a few are enough.
BENCHMARK(BM_Tip)->Arg(2)->ArgName("atonce_unchanged_afterdelay")->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->DenseRange(0, 2)->ArgName("bare_read_window")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewNames)->DenseRange(0, 1)->ArgName("shots")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NaturalSortOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WildcardOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The start-up's remembered settings, away from the user's own.
    const auto config = std::filesystem::temp_directory_path() / "zanto-bench-listing" / "config";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "zanto-bench-listing", ignored);
    return 0;
}
