// The rename list's new-name tip in a folder of 100,000 files, one entry per
// shot: the first tip after a change works out the whole run's names; a tip
// while nothing changed reuses them.
#include "app/NewNameTip.h"
#include "browse/ListBox.h"
#include "fs/NativeFileSystem.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kShots = 50000; // a JPEG and a RAW each

const std::string& folder()
{
    static const std::string made = [] {
        const std::string path = (std::filesystem::temp_directory_path() / "zanto-bench-tip").string();
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        for (int i = 0; i < kShots; ++i) {
            for (const char* ending : {".JPG", ".CR2"}) {
                const int fd = ::open((path + "/IMG_" + std::to_string(i) + ending).c_str(), O_CREAT | O_WRONLY, 0644);
                ::close(fd);
            }
        }
        return path;
    }();
    return made;
}

// 0: the first tip after the list changed; 1: a tip with nothing changed.
void BM_TipWithShots(benchmark::State& state)
{
    zanto::NativeFileSystem fileSystem;
    QWidget window;
    auto* list = new zanto::ListBox(&window);
    auto* base = new QLineEdit(QStringLiteral("旅行"), &window);
    std::vector<std::string> heads;
    for (int i = 0; i < kShots; ++i)
        heads.push_back("IMG_" + std::to_string(i) + ".CR2");
    list->setItems(heads);
    const zanto::NewNameTip tip(*list, *base, [] { return zanto::BatchOptions{true}; }, [] { return folder(); },
                                fileSystem, &window);
    benchmark::DoNotOptimize(tip.text(0));
    for (auto _ : state) {
        if (state.range(0) == 0) {
            state.PauseTiming();
            list->swap(0, 1);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(tip.text(kShots / 2));
    }
}

} // namespace

BENCHMARK(BM_TipWithShots)->Arg(0)->Arg(1)->ArgName("unchanged")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "zanto-bench-tip", ignored);
    return 0;
}
