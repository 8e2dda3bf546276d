#pragma once

#include <optional>
#include <string>

namespace zanto {

class FilePieces;

// The moment of a file built of ISO base media boxes, told apart by the
// brands of its ftyp box: a HEIF or AVIF picture's Exif item, a Canon CR3's
// CMT2 block, else a MOV or MP4 video's creation time (moov/mvhd).
class IsoBmffTime {
public:
    static bool recognises(const std::string& head);
    static std::optional<std::string> moment(FilePieces& pieces);

private:
    static std::optional<std::string> heifExif(FilePieces& pieces);
    static std::optional<std::string> canonExif(FilePieces& pieces);
    static std::optional<std::string> videoCreation(FilePieces& pieces);
};

} // namespace zanto
