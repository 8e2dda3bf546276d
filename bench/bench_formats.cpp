// The newer picture kinds in the preview: a 12-megapixel HEIC through the
// zanto-heif helper (its start, libheif's decoding, the pipe), and a 30 MB
// RAW file by the JPEG preview embedded in it (LibRaw in a child process).
#include "preview/PictureLoader.h"
#include "fs/NativeFileSystem.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Made on first use and kept in the temporary folder; empty when a tool failed.
std::string madeOnce(const std::string& name, const std::string& command)
{
    const auto file = std::filesystem::temp_directory_path() / name;
    if (!std::filesystem::exists(file) && std::system(command.c_str()) != 0)
        return {};
    return file.string();
}

const std::string& heicPath()
{
    static const std::string path = [] {
        const std::string tmp = std::filesystem::temp_directory_path().string();
        return madeOnce("zanto-bench-4000x3000.heic",
                        "cd '" + tmp + "' && convert -size 400x300 plasma:fractal -resize '4000x3000!' -attenuate 0.4 "
                        "+noise Gaussian -quality 90 zanto-bench-heic.jpg && heif-enc -q 80 -o zanto-bench-4000x3000.heic "
                        "zanto-bench-heic.jpg >/dev/null && rm zanto-bench-heic.jpg");
    }();
    return path;
}

// A DNG as tests/data/make_samples.py writes it, with a 1620 x 1080 preview
// and 30 MB of sensor data after it.
const std::string& rawPath()
{
    static const std::string path = [] {
        const std::string tmp = std::filesystem::temp_directory_path().string();
        return madeOnce("zanto-bench-30mb.dng",
                        "cd '" + tmp + "' && convert -size 162x108 plasma:fractal -resize '1620x1080!' -quality 90 "
                        "zanto-bench-preview.jpg && python3 -c \"import sys; sys.path.insert(0, '" ZANTO_BENCH_SAMPLES "'); "
                        "import make_samples as m; p = open('zanto-bench-preview.jpg', 'rb').read(); "
                        "open('zanto-bench-30mb.dng', 'wb').write(m.raw_with_preview(p, 6) + bytes(30 << 20))\" "
                        "&& rm zanto-bench-preview.jpg");
    }();
    return path;
}

void loadEach(benchmark::State& state, const std::string& path)
{
    zanto::NativeFileSystem fs;
    for (auto _ : state) {
        const zanto::LoadedPicture picture = zanto::PictureLoader::load(fs, path, zanto::PREVIEW_BOX);
        if (picture.status != zanto::LoadedPicture::Status::Loaded)
            state.SkipWithError("the picture did not load");
        benchmark::DoNotOptimize(picture.image.constBits());
    }
}

void BM_HeicThroughHelper(benchmark::State& state)
{
    ::setenv("ZANTO_HEIF_HELPER", ZANTO_BENCH_HEIF_HELPER, 1);
    loadEach(state, heicPath());
}

void BM_RawEmbeddedPreview(benchmark::State& state)
{
    loadEach(state, rawPath());
}

} // namespace

BENCHMARK(BM_HeicThroughHelper)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawEmbeddedPreview)->Unit(benchmark::kMillisecond);
