// Ordering 10,000 photos by shooting date against its floor: opening each
// file and reading its first 64 KiB, where the EXIF block lies.
#include "browse/DateOrder.h"
#include "fs/NativeFileSystem.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 10000;
constexpr std::size_t kHead = 64 * 1024;
constexpr std::size_t kFileSize = 256 * 1024;

// A JPEG start with DateTimeOriginal in a little-endian Exif IFD, padded out.
std::string photo(const std::string& date)
{
    std::string tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](unsigned v) { tiff += char(v & 0xff), tiff += char(v >> 8); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    u16(1), u16(0x8769), u16(4), u32(1), u32(26), u32(0);
    u16(1), u16(0x9003), u16(2), u32(20), u32(44), u32(0);
    tiff += date + '\0';
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = app1.size() + 2;
    std::string file = std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1;
    file.resize(kFileSize, '\x55');
    return file;
}

struct Photos {
    std::string folder;
    std::vector<std::string> names;
};

const Photos& photos()
{
    static const Photos made = [] {
        Photos p;
        p.folder = std::filesystem::temp_directory_path() / ("zanto-bench-dates-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p.folder);
        std::mt19937 random(7);
        for (int i = 0; i < kFiles; ++i) {
            char date[32];
            std::snprintf(date, sizeof date, "2024:05:%02lu %02lu:%02lu:%02lu", 1 + random() % 28, random() % 24,
                          random() % 60, random() % 60);
            const std::string name = "IMG_" + std::to_string(i) + ".jpg";
            const std::string content = photo(date);
            const int fd = ::open((p.folder + "/" + name).c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
            if (fd >= 0 && ::write(fd, content.data(), content.size()) < 0)
                std::abort();
            ::close(fd);
            p.names.push_back(name);
        }
        return p;
    }();
    return made;
}

void BM_Floor_OpenAndRead64KiB(benchmark::State& state)
{
    const Photos& p = photos();
    std::vector<char> buffer(kHead);
    for (auto _ : state) {
        for (const std::string& name : p.names) {
            const int fd = ::open((p.folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
            ::close(fd);
        }
    }
}
BENCHMARK(BM_Floor_OpenAndRead64KiB)->Unit(benchmark::kMillisecond);

void BM_DateOrder(benchmark::State& state)
{
    const Photos& p = photos();
    zanto::NativeFileSystem fs;
    for (auto _ : state) {
        std::vector<std::string> names = p.names;
        zanto::DateOrder::sort(p.folder, names, fs);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_DateOrder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(photos().folder);
    return 0;
}
