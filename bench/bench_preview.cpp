// Previewing a 6000 x 4000 photo: the preview's loader against Qt's reader
// decoding straight to the preview size, and against a full-size decode.
#include "browse/PictureLoader.h"
#include "ui/NativeFileSystem.h"

#include <QGuiApplication>
#include <QImageReader>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

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
