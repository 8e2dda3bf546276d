#pragma once

#include "listing/CaptureMoment.h"

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The moment of a file built of ISO base media boxes, told apart by the
// brands of its ftyp box: a HEIF or AVIF picture's Exif item, a Canon CR3's
// CMT2 block, else a MOV or MP4 video's creation time: a date with its zone where
// the video has one, else the movie header's (moov/mvhd).
class IsoBmffTime {
public:
    static bool recognises(const std::string& head);
    static std::optional<CaptureMoment> moment(FilePieces& pieces);

private:
    static std::optional<CaptureMoment> heifExif(FilePieces& pieces);
    static std::optional<CaptureMoment> canonExif(FilePieces& pieces);
    static std::optional<CaptureMoment> videoCreation(FilePieces& pieces);
};

} // namespace zanto
