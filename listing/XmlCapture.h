#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string_view>

namespace zanto {

// What XML that a camera writes about its pictures and clips says: an XMP
// packet (exif:DateTimeOriginal, photoshop:DateCreated, xmp:CreateDate,
// tiff:Make, tiff:Model, exifEX:BodySerialNumber, as attributes or
// elements) or a Sony clip's NonRealTimeMeta (<CreationDate value="…"/>,
// <Device manufacturer="…" modelName="…" serialNo="…"/>). A date without an
// offset is passed over: the file's own header is exacter. None when it
// names neither a zoned date nor a camera.
class XmlCapture {
public:
    static std::optional<Capture> of(std::string_view xml);
};

} // namespace zanto
