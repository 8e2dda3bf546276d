#pragma once

#include <optional>
#include <string_view>

namespace zanto {

// What turns a picture kind's bytes into a picture.
enum class PictureDecoder {
    ByContent, // Qt's readers, judged by the bytes among the kinds named by content here
    Bitmap,    // a BMP without its file header
    Emf,
    Wmf,
    Heif,      // through the zanto-heif helper
    Raw,       // by the preview embedded in it
};

enum class Prefetch { Yes, No };

// The picture kinds the preview knows, by the ending of a file's name: what
// decodes each and whether it is worth decoding ahead of the user's step.
struct PictureKind {
    std::string_view ending; // in lower case: ".jpg"
    PictureDecoder decoder;
    Prefetch prefetch;

    // The kind `name` (or a path) ends in, in any letter case; none when it
    // ends in no picture kind's ending.
    static std::optional<PictureKind> of(std::string_view name);

    // The decoder a file's first kMagicBytes name by their magic number, for
    // a file under the wrong ending; none for bytes of no kind known here.
    static constexpr std::size_t kMagicBytes = 48;
    static std::optional<PictureDecoder> ofContent(std::string_view head);

    // Whether the format Qt's reader tells by content ("jpeg", "tiff") is one
    // the endings decoded by content name: the other image plugins (TGA,
    // ICNS, WBMP, ...) never see a file from here.
    static bool isNamedByContent(std::string_view format);
};

} // namespace zanto
