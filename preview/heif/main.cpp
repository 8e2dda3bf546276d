// zanto-heif WIDTH HEIGHT: the preview's decoder of HEIF and AVIF files, a
// program of its own so that libheif never shares a binary with libemf2svg.
// Reads the file's bytes on standard input and writes the primary picture,
// upright and stretched to WIDTH x HEIGHT, as PNG on standard output.
// Exit status: 0 written, 1 not a picture it decodes, 2 wrong use.
#include "preview/ChildProcess.h"
#include "preview/heif/HeifPicture.h"
#include "rename/WholeFileLimit.h"

#include <QBuffer>
#include <QByteArray>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A damaged file may claim a picture of a billion pixels, which libheif then
// tries to allocate; the helper fails instead of pushing the desktop into
// swap. A 100-megapixel photo needs under a gigabyte.
constexpr rlim_t kMemoryLimit = rlim_t{2} << 30;

// AddressSanitizer reserves terabytes of address space for its shadow memory
// at start: under it the limit would make every allocation fail.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLimitMemory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLimitMemory = false;
#else
constexpr bool kLimitMemory = true;
#endif
#else
constexpr bool kLimitMemory = true;
#endif

std::optional<int> sideOf(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0 || value > 16384)
        return std::nullopt;
    return value;
}

bool readAll(int fd, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || bytes.size() + static_cast<std::size_t>(got) > zanto::WHOLE_FILE_LIMIT)
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<int> width = argc == 3 ? sideOf(argv[1]) : std::nullopt;
    const std::optional<int> height = argc == 3 ? sideOf(argv[2]) : std::nullopt;
    if (!width || !height) {
        std::fputs("usage: zanto-heif WIDTH HEIGHT < picture.heic > picture.png\n", stderr);
        return 2;
    }
    if (kLimitMemory) {
        const rlimit memory {kMemoryLimit, kMemoryLimit};
        ::setrlimit(RLIMIT_AS, &memory);
    }
    std::string bytes;
    if (!readAll(STDIN_FILENO, bytes))
        return 1;
    const std::optional<QImage> picture = zanto::HeifPicture::decode(bytes, QSize(*width, *height));
    if (!picture)
        return 1;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Fast rather than small: the bytes only cross a pipe.
    if (!picture->save(&buffer, "PNG", 100))
        return 1;
    const std::string_view written(png.constData(), static_cast<std::size_t>(png.size()));
    return zanto::ChildProcess::writeAll(STDOUT_FILENO, written) ? 0 : 1;
}
