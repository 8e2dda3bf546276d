#include "preview/FileClass.h"

#include "rename/FileNameParts.h"

#include <array>
#include <string>

namespace zanto {

namespace {

constexpr std::array<std::string_view, 48> kPictureEndings = {
    ".jpeg", ".JPEG", ".jpg",  ".JPG",  ".dib",  ".DIB",  ".ico",  ".ICO",  ".cur",  ".CUR",  ".wmf",
    ".WMF",  ".emf",  ".EMF",  ".gif",  ".bmp",  ".GIF",  ".BMP",  ".png",  ".PNG",  ".webp", ".WEBP",
    ".tif",  ".TIF",  ".tiff", ".TIFF", ".heic", ".HEIC", ".heif", ".HEIF", ".avif", ".AVIF",
    // RAW files, shown by the preview embedded in them
    ".cr2",  ".CR2",  ".cr3",  ".CR3",  ".nef",  ".NEF",  ".arw",  ".ARW",  ".dng",  ".DNG",  ".orf",
    ".ORF",  ".rw2",  ".RW2",  ".pef",  ".PEF",
};

constexpr std::array<std::string_view, 6> kTextEndings = {
    ".html", ".htm", ".txt", ".HTML", ".HTM", ".TXT",
};

template <std::size_t N>
bool endsWithAny(std::string_view name, const std::array<std::string_view, N>& endings)
{
    for (const std::string_view ending : endings) {
        if (name.ends_with(ending))
            return true;
    }
    return false;
}

} // namespace

FileClass classifyFileName(std::string_view name)
{
    if (extensionOf(std::string(name)).empty())
        return FileClass::NoExtension;
    if (endsWithAny(name, kPictureEndings))
        return FileClass::Picture;
    if (endsWithAny(name, kTextEndings))
        return FileClass::Text;
    return FileClass::Other;
}

} // namespace zanto
