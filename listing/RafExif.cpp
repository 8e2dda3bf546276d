#include "listing/RafExif.h"

#include "listing/FilePieces.h"
#include "listing/JpegExif.h"

namespace zanto {

namespace {

constexpr char kMagic[] = "FUJIFILMCCD-RAW ";
constexpr std::size_t kMagicBytes = sizeof kMagic - 1;
// The big-endian offset of the embedded JPEG, then its length.
constexpr std::size_t kJpegOffsetAt = 84;
constexpr std::size_t kHeaderBytes = kJpegOffsetAt + 8;

} // namespace

bool RafExif::recognises(const std::string& head)
{
    return head.compare(0, kMagicBytes, kMagic) == 0;
}

std::optional<Capture> RafExif::capture(FilePieces& pieces)
{
    const std::string& head = pieces.head();
    if (head.size() < kHeaderBytes)
        return std::nullopt;
    const std::uint64_t jpeg = FilePieces::be(head, kJpegOffsetAt, 4);
    const std::string_view start = pieces.read(jpeg, 3);
    if (jpeg < kHeaderBytes || !JpegExif::recognises(std::string(start)))
        return std::nullopt;
    return JpegExif::capture(pieces, jpeg);
}

} // namespace zanto
