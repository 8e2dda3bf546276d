#pragma once

#include "listing/CaptureMoment.h"

#include <optional>
#include <string_view>

namespace zanto {

// The moment taken from XML that a camera writes about its pictures and
// clips: an XMP packet (exif:DateTimeOriginal, photoshop:DateCreated,
// xmp:CreateDate, as an attribute or an element) or a Sony clip's
// NonRealTimeMeta (<CreationDate value="..."/>). Dates without an offset
// are passed over: the file's own header is exacter.
class XmlDate {
public:
    static std::optional<CaptureMoment> takenIn(std::string_view xml);
};

} // namespace zanto
