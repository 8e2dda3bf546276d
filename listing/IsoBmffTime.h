#pragma once

#include "listing/Capture.h"

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The moment of a file built of ISO base media boxes, told apart by the
// brands of its ftyp box: a HEIF or AVIF picture's Exif item, a Canon CR3's
// CMT1 and CMT2 blocks, else a MOV or MP4 video's creation time (a date
// with its zone where the video has one, else the movie header's) and
// Apple's keys for its camera and content identifier.
class IsoBmffTime {
public:
    static bool recognises(const std::string& head);
    static std::optional<Capture> capture(FilePieces& pieces);

private:
    static std::optional<Capture> heifExif(FilePieces& pieces);
    static std::optional<Capture> canonExif(FilePieces& pieces);
    static std::optional<Capture> video(FilePieces& pieces);
};

} // namespace zanto
