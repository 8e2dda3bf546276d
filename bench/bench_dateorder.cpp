// Ordering by shooting date against its floor: opening each file and reading
// its first 4 KiB. (a) 10,000 files of the kinds cameras and phones write,
// each with its date where that kind keeps it; (b) 2,000 JPEGs, with the
// page cache warm and dropped before each round (cold), where this machine
// lets it be dropped.
#include "listing/DateOrder.h"
#include "fs/NativeFileSystem.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kHead = 4 * 1024;

std::string be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string box(const std::string& type, const std::string& body)
{
    return be32(std::uint32_t(8 + body.size())) + type + body;
}

// A little-endian TIFF structure, IFD0 pointing at an Exif IFD with DateTimeOriginal.
std::string tiff(const std::string& date)
{
    std::string t("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](unsigned v) { t += char(v & 0xff), t += char(v >> 8); };
    const auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
    u16(1), u16(0x8769), u16(4), u32(1), u32(26), u32(0);
    u16(1), u16(0x9003), u16(2), u32(20), u32(44), u32(0);
    return t + date + '\0';
}

// APP1 of 40 KiB (a thumbnail after the tags), then image data.
std::string jpeg(const std::string& date)
{
    std::string app1 = std::string("Exif\0\0", 6) + tiff(date);
    app1.resize(40 * 1024, '\x33');
    const std::size_t length = app1.size() + 2;
    std::string file = std::string("\xff\xd8\xff\xe1", 4) + char(length >> 8) + char(length & 0xff) + app1;
    file.resize(128 * 1024, '\x55');
    return file;
}

std::string raw(const std::string& date)
{
    std::string file = tiff(date);
    file.resize(256 * 1024, '\x55');
    return file;
}

// ftyp heic, meta (iinf with an Exif item, iloc), mdat: the image, then the Exif item at its end.
std::string heic(const std::string& date)
{
    const std::string exif = be32(6) + std::string("Exif\0\0", 6) + tiff(date);
    const std::string ftyp = box("ftyp", "heic" + be32(0) + "mif1heic");
    const std::string infe = box("infe", std::string("\2\0\0\0\0\1\0\0Exif", 12));
    const std::string iinf = box("iinf", std::string("\0\0\0\0\0\1", 6) + infe);
    const std::size_t metaSize = 8 + 4 + iinf.size() + 8 + 4 + 2 + 2 + 2 + 2 + 2 + 4 + 4;
    const std::size_t image = 120 * 1024;
    const std::uint32_t exifAt = std::uint32_t(ftyp.size() + metaSize + 8 + image);
    const std::string iloc = box("iloc", std::string("\0\0\0\0\x44\0\0\1\0\1\0\0\0\1", 14) + be32(exifAt) +
                                             be32(std::uint32_t(exif.size())));
    const std::string meta = box("meta", std::string(4, '\0') + iinf + iloc);
    return ftyp + meta + box("mdat", std::string(image, '\x55') + exif);
}

// ftyp, then an mdat of 64 MiB (left sparse), then moov/mvhd.
std::string movTail(std::uint32_t created)
{
    std::string mvhd = std::string(4, '\0') + be32(created) + be32(created) + be32(600) + be32(0);
    mvhd.resize(100, '\0');
    return box("moov", box("mvhd", mvhd));
}
constexpr std::uint64_t kVideoMedia = 64ULL << 20;

std::string png(const std::string& date)
{
    const std::string exif = tiff(date);
    std::string file("\x89PNG\r\n\x1a\n", 8);
    file += be32(13) + "IHDR" + std::string(13, '\1') + be32(0);
    file += be32(std::uint32_t(exif.size())) + "eXIf" + exif + be32(0);
    file += be32(16 * 1024) + "IDAT" + std::string(16 * 1024, '\x55') + be32(0);
    return file + be32(0) + "IEND" + be32(0);
}

struct Folder {
    std::string path;
    std::vector<std::string> names;
};

void writeFile(const std::string& path, const std::string& content, std::uint64_t holeBefore = 0,
               const std::string& tail = {})
{
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (holeBefore > 0) {
        out.seekp(static_cast<std::streamoff>(content.size() + holeBefore));
        out << tail;
    }
}

std::string folderPath(const std::string& label)
{
    return std::filesystem::temp_directory_path() / ("zanto-bench-dates-" + label + "-" + std::to_string(::getpid()));
}

Folder makeFolder(const std::string& label, int count, bool mixed)
{
    Folder f;
    f.path = folderPath(label);
    std::filesystem::create_directories(f.path);
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        char date[32];
        std::snprintf(date, sizeof date, "2024:05:%02lu %02lu:%02lu:%02lu", 1 + random() % 28, random() % 24,
                      random() % 60, random() % 60);
        const int kind = mixed ? i % 5 : 0;
        static const char* const kEndings[] = {".jpg", ".cr2", ".heic", ".mov", ".png"};
        const std::string name = "IMG_" + std::to_string(i) + kEndings[kind];
        const std::string path = f.path + "/" + name;
        switch (kind) {
        case 0: writeFile(path, jpeg(date)); break;
        case 1: writeFile(path, raw(date)); break;
        case 2: writeFile(path, heic(date)); break;
        case 3: {
            const std::string ftyp = box("ftyp", "qt  " + be32(0) + "qt  ");
            std::string mdat = be32(1) + "mdat" + be32(0) + be32(std::uint32_t(16 + kVideoMedia));
            writeFile(path, ftyp + mdat, kVideoMedia, movTail(3'800'000'000U + std::uint32_t(random() % 10'000'000)));
            break;
        }
        default: writeFile(path, png(date)); break;
        }
        f.names.push_back(name);
    }
    return f;
}

const Folder& mixedFolder()
{
    static const Folder made = makeFolder("mixed", 10000, true);
    return made;
}

const Folder& jpegFolder()
{
    static const Folder made = makeFolder("jpeg", 2000, false);
    return made;
}

// Empties the page cache; false where this machine does not let it.
bool dropCaches()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    drop << "3\n";
    drop.flush();
    return static_cast<bool>(drop);
}

void floorOf(const Folder& f)
{
    std::vector<char> buffer(kHead);
    for (const std::string& name : f.names) {
        const int fd = ::open((f.path + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), buffer.size(), 0));
        ::close(fd);
    }
}

void dateOrderOf(const Folder& f)
{
    zanto::NativeFileSystem fs;
    std::vector<std::string> names = f.names;
    zanto::DateOrder::sort(f.path, names, fs);
    benchmark::DoNotOptimize(names.data());
}

void run(benchmark::State& state, const Folder& f, const std::function<void(const Folder&)>& work, bool cold)
{
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            if (!dropCaches()) {
                state.SkipWithError("the page cache cannot be dropped here");
                break;
            }
            state.ResumeTiming();
        }
        work(f);
    }
}

void BM_Mixed_Floor(benchmark::State& state) { run(state, mixedFolder(), floorOf, false); }
void BM_Mixed_DateOrder(benchmark::State& state) { run(state, mixedFolder(), dateOrderOf, false); }
void BM_Jpeg_Floor_Warm(benchmark::State& state) { run(state, jpegFolder(), floorOf, false); }
void BM_Jpeg_DateOrder_Warm(benchmark::State& state) { run(state, jpegFolder(), dateOrderOf, false); }
void BM_Jpeg_Floor_Cold(benchmark::State& state) { run(state, jpegFolder(), floorOf, true); }
void BM_Jpeg_DateOrder_Cold(benchmark::State& state) { run(state, jpegFolder(), dateOrderOf, true); }
BENCHMARK(BM_Mixed_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mixed_DateOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Floor_Warm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_DateOrder_Warm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Floor_Cold)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Jpeg_DateOrder_Cold)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(folderPath("mixed"));
    std::filesystem::remove_all(folderPath("jpeg"));
    return 0;
}
