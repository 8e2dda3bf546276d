#include "listing/CaptureTime.h"

#include "listing/FilePieces.h"
#include "listing/IsoBmffTime.h"
#include "listing/JpegExif.h"
#include "listing/PngExif.h"
#include "listing/RafExif.h"
#include "listing/TiffExif.h"
#include "listing/WebpExif.h"
#include "listing/XmlCapture.h"

#include <algorithm>

namespace zanto {

namespace {

// Sidecars are XML: a Sony clip's, an XMP packet beside a RAW.
constexpr std::size_t kLongestSidecar = 64 * 1024;

bool isXml(const std::string& head)
{
    const std::size_t start = head.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0; // a byte order mark
    const std::size_t first = head.find_first_not_of(" \t\r\n", start);
    return first != std::string::npos && head[first] == '<';
}

} // namespace

std::optional<CaptureMoment> CaptureTime::of(ReadableFile& file)
{
    return facts(file).moment;
}

Capture CaptureTime::facts(ReadableFile& file)
{
    return read(file).value_or(Capture());
}

std::optional<Capture> CaptureTime::read(ReadableFile& file)
{
    FilePieces pieces(file);
    const std::string& head = pieces.head();
    if (JpegExif::recognises(head))
        return JpegExif::capture(pieces);
    if (TiffExif::recognises(head))
        return TiffExif::capture(pieces);
    if (PngExif::recognises(head))
        return PngExif::capture(pieces);
    if (WebpExif::recognises(head))
        return WebpExif::capture(pieces);
    if (RafExif::recognises(head))
        return RafExif::capture(pieces);
    if (IsoBmffTime::recognises(head))
        return IsoBmffTime::capture(pieces);
    if (isXml(head))
        return XmlCapture::of(pieces.read(0, static_cast<std::size_t>(std::min<std::uint64_t>(pieces.size(), kLongestSidecar))));
    return std::nullopt;
}

} // namespace zanto
