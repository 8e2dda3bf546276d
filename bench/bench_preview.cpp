// Previewing a 6000 x 4000 photo: the preview's loader against Qt's reader
// decoding straight to the preview size, and against a full-size decode.
#include "browse/PictureLoader.h"
#include "browse/PicturePrefetch.h"
#include "browse/PictureWorker.h"
#include "fs/NativeFileSystem.h"

#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

// Made with ImageMagick on first use and kept in the temporary folder: a
// smooth plasma blown up to full size with grain on top, which compresses
// about as a real photo does (~11 MB).
const std::string& photoPath()
{
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "zanto-bench-photo-6000x4000.jpg";
        if (!std::filesystem::exists(file)) {
            const std::string command = "convert -size 600x400 plasma:fractal -resize '6000x4000!' "
                                        "-attenuate 0.4 +noise Gaussian -quality 90 jpg:'"
                + file.string() + ".part' && mv '" + file.string() + ".part' '" + file.string() + "'";
            if (std::system(command.c_str()) != 0)
                return std::string();
        }
        return file.string();
    }();
    return path;
}

void BM_PictureLoaderToPreviewBox(benchmark::State& state)
{
    const std::string& path = photoPath();
    zanto::NativeFileSystem fs;
    for (auto _ : state) {
        const zanto::LoadedPicture picture = zanto::PictureLoader::load(fs, path, zanto::PREVIEW_BOX);
        if (picture.status != zanto::LoadedPicture::Status::Loaded)
            state.SkipWithError("photo did not load");
        benchmark::DoNotOptimize(picture.image.constBits());
    }
}

void BM_QImageReaderScaledToPreviewBox(benchmark::State& state)
{
    const QString path = QString::fromStdString(photoPath());
    for (auto _ : state) {
        QImageReader reader(path);
        reader.setScaledSize(zanto::PREVIEW_BOX);
        const QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("photo did not load");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_QImageReaderFullSize(benchmark::State& state)
{
    const QString path = QString::fromStdString(photoPath());
    for (auto _ : state) {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError("photo did not load");
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(BM_PictureLoaderToPreviewBox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageReaderScaledToPreviewBox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QImageReaderFullSize)->Unit(benchmark::kMillisecond);

// Stepping through 20 such photos, one Down every 250 ms: the time from the
// step to the picture ready for the view, with the next photo decoded ahead
// during the pause and without (the floor the step used to wait).
void stepThroughPhotos(benchmark::State& state, bool ahead)
{
    constexpr int kPhotos = 20;
    const auto folder = std::filesystem::temp_directory_path() / "zanto-bench-steps";
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < kPhotos; ++i) {
        const auto path = folder / ("IMG_" + std::to_string(i) + ".jpg");
        if (!std::filesystem::exists(path))
            std::filesystem::create_hard_link(photoPath(), path);
        paths.push_back(path.string());
    }
    zanto::NativeFileSystem fs;
    zanto::PictureWorker worker(fs);
    zanto::PicturePrefetch prefetch(worker);
    std::vector<double> waits;
    for (auto _ : state) {
        for (int i = 0; i < kPhotos; ++i) {
            const auto step = std::chrono::steady_clock::now();
            auto picture = prefetch.take(paths[i], zanto::PREVIEW_BOX);
            if (!picture)
                picture = worker.load(paths[i], zanto::PREVIEW_BOX).image;
            benchmark::DoNotOptimize(picture->constBits());
            waits.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - step).count());
            if (ahead)
                prefetch.start(paths[(i + 1) % kPhotos], zanto::PREVIEW_BOX);
            std::this_thread::sleep_until(step + std::chrono::milliseconds(250));
        }
    }
    std::sort(waits.begin(), waits.end());
    state.counters["median_ms"] = waits[waits.size() / 2];
    state.counters["longest_ms"] = waits.back();
}

void BM_SteppingWithPrefetch(benchmark::State& state)
{
    stepThroughPhotos(state, true);
}

void BM_SteppingWithoutPrefetch(benchmark::State& state)
{
    stepThroughPhotos(state, false);
}

BENCHMARK(BM_SteppingWithPrefetch)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SteppingWithoutPrefetch)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (photoPath().empty())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
