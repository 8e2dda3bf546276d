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
    {".dng", D::Raw, Y}, {".orf", D::Raw, Y}, {".rw2", D::Raw, Y}, {".pef", D::Raw, Y},
};

} // namespace

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
