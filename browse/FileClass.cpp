#include "FileClass.h"

#include "rename/FileNameParts.h"

#include <array>
#include <string>

namespace zanto {

namespace {

constexpr std::array<std::string_view, 18> kPictureEndings = {
    ".jpeg", ".JPEG", ".jpg", ".JPG", ".dib", ".DIB", ".ico", ".ICO", ".cur",
    ".CUR",  ".wmf",  ".WMF", ".emf", ".EMF", ".gif", ".bmp", ".GIF", ".BMP",
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
