// Opening a folder in the main window: the file list reads, filters and
// orders the folder, the rename list takes a copy, and both lists paint;
// measured against the bare readdir loop over the same folder.
#include "browse/FileListBox.h"
#include "browse/ListBox.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 100000;

std::string makeFolder(bool mixed)
{
    const std::string folder = (std::filesystem::temp_directory_path()
                                / (mixed ? "zanto-bench-open-mixed" : "zanto-bench-open-all"))
                                   .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    static const char* const kOthers[] = {".txt", ".mov", ".raw", ".xmp", ".dat", ".heic", ".tif", ".pdf"};
    for (int i = 0; i < kFiles; ++i) {
        std::string ending = ".jpg";
        if (mixed)
            ending = i % 10 == 0 ? ".jpg" : i % 10 == 1 ? ".png" : kOthers[i % 8];
        const std::string path = folder + "/IMG_" + std::to_string((i * 7919) % kFiles + 1) + ending;
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    return folder;
}

const std::string& folderFor(const benchmark::State& state)
{
    static const std::string all = makeFolder(false);
    static const std::string mixed = makeFolder(true);
    return state.range(0) == 0 ? all : mixed;
}

double peakRssMb()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Readdir(benchmark::State& state)
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
}

void BM_OpenFolderInBothLists(benchmark::State& state)
{
    const std::string& folder = folderFor(state);
    QWidget window;
    auto* file = new zanto::FileListBox(&window);
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
        // Both lists lay out and paint what they show.
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

} // namespace

BENCHMARK(BM_Readdir)->Arg(0)->Arg(1)->ArgName("mixed")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFolderInBothLists)->Arg(0)->Arg(1)->ArgName("mixed")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    for (const char* name : {"zanto-bench-open-all", "zanto-bench-open-mixed"})
        std::filesystem::remove_all(std::filesystem::temp_directory_path() / name, ignored);
    return 0;
}
