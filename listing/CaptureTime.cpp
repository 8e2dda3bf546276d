#include "listing/CaptureTime.h"

#include "listing/FilePieces.h"
#include "listing/IsoBmffTime.h"
#include "listing/JpegExif.h"
#include "listing/PngExif.h"
#include "listing/RafExif.h"
#include "listing/TiffExif.h"
#include "listing/WebpExif.h"

namespace zanto {

std::optional<std::string> CaptureTime::of(ReadableFile& file)
{
    FilePieces pieces(file);
    const std::string& head = pieces.head();
    if (JpegExif::recognises(head))
        return JpegExif::moment(pieces);
    if (TiffExif::recognises(head))
        return TiffExif::moment(pieces);
    if (PngExif::recognises(head))
        return PngExif::moment(pieces);
    if (WebpExif::recognises(head))
        return WebpExif::moment(pieces);
    if (RafExif::recognises(head))
        return RafExif::moment(pieces);
    if (IsoBmffTime::recognises(head))
        return IsoBmffTime::moment(pieces);
    return std::nullopt;
}

} // namespace zanto
