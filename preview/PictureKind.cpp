#include "preview/PictureKind.h"

#include "rename/AsciiCase.h"

namespace zanto {

namespace {

using D = PictureDecoder;
constexpr Prefetch Y = Prefetch::Yes;
// Metafiles are small and converted in a child process: not worth a worker.
constexpr Prefetch N = Prefetch::No;

constexpr PictureKind kKinds[] = {
    {".jpeg", D::ByContent, Y}, {".jpg", D::ByContent, Y}, {".ico", D::ByContent, Y}, {".cur", D::ByContent, Y},
    {".gif", D::ByContent, Y},  {".bmp", D::ByContent, Y}, {".png", D::ByContent, Y}, {".webp", D::ByContent, Y},
    {".tif", D::ByContent, Y},  {".tiff", D::ByContent, Y}, {".dib", D::Bitmap, Y},   {".emf", D::Emf, N},
    {".wmf", D::Wmf, N},        {".heic", D::Heif, Y},     {".heif", D::Heif, Y},    {".avif", D::Heif, Y},
    // RAW files, shown by the preview embedded in them
    {".cr2", D::Raw, Y}, {".cr3", D::Raw, Y}, {".nef", D::Raw, Y}, {".arw", D::Raw, Y},
    {".dng", D::Raw, Y}, {".orf", D::Raw, Y}, {".rw2", D::Raw, Y}, {".pef", D::Raw, Y}, {".raf", D::Raw, Y},
};

struct Magic {
    std::size_t at;
    std::string_view bytes;
    PictureDecoder decoder;
};

// TIFF's own magic goes to the RAW decoder: a plain TIFF is judged by content
// under its own ending, and a RAW that LibRaw refuses is read no further.
constexpr Magic kMagics[] = {
    {0, "\xff\xd8\xff", D::ByContent}, {0, "\x89PNG\r\n\x1a\n", D::ByContent}, {0, "GIF8", D::ByContent},
    {8, "WEBP", D::ByContent}, {0, "BM", D::ByContent}, {0, {"\0\0\1\0", 4}, D::ByContent}, // ICO
    {0, {"\0\0\2\0", 4}, D::ByContent},                                                     // CUR
    {0, {"II*\0", 4}, D::Raw}, {0, {"MM\0*", 4}, D::Raw}, {0, "IIRO", D::Raw}, {0, "IIRS", D::Raw},
    {0, "MMOR", D::Raw}, {0, {"IIU\0", 4}, D::Raw}, {0, "FUJIFILMCCD-RAW ", D::Raw}, {4, "ftypcrx ", D::Raw},
    {4, "ftypheic", D::Heif}, {4, "ftypheix", D::Heif}, {4, "ftypheim", D::Heif}, {4, "ftypheis", D::Heif},
    {4, "ftyphevc", D::Heif}, {4, "ftyphevx", D::Heif}, {4, "ftypmif1", D::Heif}, {4, "ftypmsf1", D::Heif},
    {4, "ftypavif", D::Heif}, {4, "ftypavis", D::Heif},
    {40, " EMF", D::Emf}, {0, "\xd7\xcd\xc6\x9a", D::Wmf}, // a placeable metafile's key
    {0, {"\1\0\x09\0", 4}, D::Wmf}, {0, {"\2\0\x09\0", 4}, D::Wmf},
};

} // namespace

std::optional<PictureDecoder> PictureKind::ofContent(std::string_view head)
{
    for (const Magic& magic : kMagics) {
        if (head.size() >= magic.at + magic.bytes.size() && head.substr(magic.at, magic.bytes.size()) == magic.bytes)
            return magic.decoder;
    }
    return std::nullopt;
}

std::optional<PictureKind> PictureKind::of(std::string_view name)
{
    for (const PictureKind& kind : kKinds) {
        if (name.size() >= kind.ending.size()
            && equalIgnoringAsciiCase(name.substr(name.size() - kind.ending.size()), kind.ending))
            return kind;
    }
    return std::nullopt;
}

bool PictureKind::isNamedByContent(std::string_view format)
{
    for (const PictureKind& kind : kKinds) {
        if (kind.decoder == PictureDecoder::ByContent && kind.ending.substr(1) == format)
            return true;
    }
    return false;
}

} // namespace zanto
