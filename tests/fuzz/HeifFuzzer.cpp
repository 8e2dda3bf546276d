// The zanto-heif helper's decoding of any bytes, called in this process
// rather than through the helper program.
#include "preview/heif/HeifPicture.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

// An assertion that libheif makes about a file it has accepted (Debian 12's
// 1.15 asserts on a derived image whose source is of a type it does not
// know) aborts the zanto-heif helper, which the program takes as a picture
// it cannot show. Here it ends the fuzzing job as that refusal; an assertion
// anywhere else still fails.
extern "C" void __assert_fail(const char* assertion, const char* file, unsigned int line,
                              const char* function) noexcept
{
    std::fprintf(stderr, "%s:%u: %s: Assertion `%s' failed.\n", file, line, function, assertion);
    if (std::strstr(file, "libheif") != nullptr)
        std::_Exit(0);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QSize box(64, 48);
    const std::optional<QImage> picture =
        zanto::HeifPicture::decode(std::string_view(reinterpret_cast<const char*>(data), size), box);
    if (picture)
        zanto::fuzz::require(picture->size() == box, "stretched to the box");
    return 0;
}
