// The zanto-heif helper's decoding of any bytes, called in this process
// rather than through the helper program.
#include "preview/heif/HeifPicture.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QSize box(64, 48);
    const std::optional<QImage> picture =
        zanto::HeifPicture::decode(std::string_view(reinterpret_cast<const char*>(data), size), box);
    if (picture)
        zanto::fuzz::require(picture->size() == box, "stretched to the box");
    return 0;
}
