#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string>

namespace zanto {

class ReadableFile;

// The moment a camera or phone file was taken, from what the file holds
// rather than from its name: EXIF in a JPEG, a TIFF-based RAW, a HEIF, AVIF
// or CR3, a PNG or a WebP; a MOV or MP4 video's zoned date (Apple's, ©day,
// XMP) or else its header's creation time; the zoned date in an XML sidecar
// (a Sony clip's, XMP). None for any other file, or one without a readable
// moment. Reads the first 4 KiB, then a few capped pieces where the format points.
class CaptureTime {
public:
    static std::optional<CaptureMoment> of(ReadableFile& file);
    // The moment, and the camera and content identifier where the metadata
    // read for the moment names them.
    static Capture facts(ReadableFile& file);

private:
    static std::optional<Capture> read(ReadableFile& file);
};

} // namespace zanto
