// Previewing a 6000 x 4000 photo: the preview's loader against Qt's reader
// decoding straight to the preview size, and against a full-size decode.
#include "preview/PictureLoader.h"
#include "preview/PicturePrefetch.h"
#include "preview/PictureWorker.h"
#include "fs/NativeFileSystem.h"

#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
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

// The real file system with every read of a file held up, as a camera card
// gives an 11 MB photo at about 70 MB/s.
class SlowFileSystem final : public zanto::FileSystem {
public:
    explicit SlowFileSystem(std::chrono::milliseconds delay) : m_delay(delay) {}
    zanto::FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) override
    {
        std::this_thread::sleep_for(m_delay);
        return m_native.readFile(path, limit, bytes);
    }
    zanto::FsError openFile(const std::string& path, std::unique_ptr<zanto::ReadableFile>& file) override
    {
        std::this_thread::sleep_for(m_delay);
        return m_native.openFile(path, file);
    }
    zanto::FsError renameNoReplace(const std::string& from, const std::string& to) override
    {
        return m_native.renameNoReplace(from, to);
    }
    bool canOpenForReading(const std::string& path) override { return m_native.canOpenForReading(path); }
    bool exists(const std::string& path) override { return m_native.exists(path); }
    bool sameFile(const std::string& a, const std::string& b) override { return m_native.sameFile(a, b); }
    zanto::FsError listNames(const std::string& folder, std::vector<std::string>& names) override
    {
        return m_native.listNames(folder, names);
    }
    zanto::FsError listStamped(const std::string& folder, std::vector<std::string>& names,
                               std::vector<zanto::FileStamp>& stamps) override
    {
        return m_native.listStamped(folder, names, stamps);
    }
    zanto::FsError readEntries(const std::string& folder, const EntryBatchTaker& take) override
    {
        return m_native.readEntries(folder, take);
    }
    zanto::FsError status(const std::string& path, zanto::FileStatus& status) override
    {
        return m_native.status(path, status);
    }
    std::size_t maxNameLength(const std::string& folder) override { return m_native.maxNameLength(folder); }
    std::optional<zanto::FileStamp> stamp(const std::string& path) override { return m_native.stamp(path); }
    zanto::FsError removeFile(const std::string& path) override { return m_native.removeFile(path); }

private:
    std::chrono::milliseconds m_delay;
    zanto::NativeFileSystem m_native;
};

// Stepping through 20 such photos, one Down every `pace`: the time from the
// step to the picture ready for the view, with the next photo read ahead
// during the pause and without (the floor the step used to wait); and the
// time the step spends starting the read ahead, which the window's thread
// must never wait for, however slow the disk.
void stepThroughPhotos(benchmark::State& state, bool ahead, std::chrono::milliseconds readDelay,
                       std::chrono::milliseconds pace)
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
    SlowFileSystem fs(readDelay);
    zanto::PictureWorker worker(fs);
    zanto::PicturePrefetch prefetch(worker);
    const auto msSince = [](std::chrono::steady_clock::time_point since) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
    };
    std::vector<double> waits;
    double longestStart = 0;
    for (auto _ : state) {
        for (int i = 0; i < kPhotos; ++i) {
            const auto step = std::chrono::steady_clock::now();
            auto picture = prefetch.take(paths[i], zanto::PREVIEW_BOX);
            if (!picture)
                picture = worker.load(paths[i], zanto::PREVIEW_BOX).image;
            benchmark::DoNotOptimize(picture->constBits());
            waits.push_back(msSince(step));
            const auto started = std::chrono::steady_clock::now();
            if (ahead)
                prefetch.start(paths[(i + 1) % kPhotos], zanto::PREVIEW_BOX);
            longestStart = std::max(longestStart, msSince(started));
            std::this_thread::sleep_until(step + pace);
        }
    }
    std::sort(waits.begin(), waits.end());
    state.counters["median_ms"] = waits[waits.size() / 2];
    state.counters["longest_ms"] = waits.back();
    state.counters["longest_start_ms"] = longestStart;
}

void BM_SteppingWithPrefetch(benchmark::State& state)
{
    stepThroughPhotos(state, true, std::chrono::milliseconds(0), std::chrono::milliseconds(250));
}

void BM_SteppingWithoutPrefetch(benchmark::State& state)
{
    stepThroughPhotos(state, false, std::chrono::milliseconds(0), std::chrono::milliseconds(250));
}

void BM_SteppingWithPrefetchFromACard(benchmark::State& state)
{
    // A name typed between the steps: half a second.
    stepThroughPhotos(state, true, std::chrono::milliseconds(150), std::chrono::milliseconds(500));
}

BENCHMARK(BM_SteppingWithPrefetch)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SteppingWithoutPrefetch)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SteppingWithPrefetchFromACard)->Iterations(1)->Unit(benchmark::kMillisecond);

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
