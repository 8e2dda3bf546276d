#include "preview/FileClass.h"

#include "preview/PictureKind.h"
#include "rename/AsciiCase.h"
#include "rename/FileNameParts.h"

#include <algorithm>
#include <string>

namespace zanto {

namespace {

constexpr std::string_view kTextEndings[] = {".html", ".htm", ".txt"};

// All in lower case or all in upper case: ".jpg" and ".JPG", never ".Jpg".
bool inOneCase(std::string_view extension)
{
    const auto isLower = [](char ch) { return ch >= 'a' && ch <= 'z'; };
    return extension == asciiFolded(extension) || std::none_of(extension.begin(), extension.end(), isLower);
}

} // namespace

FileClass classifyFileName(std::string_view name)
{
    const std::string extension = extensionOf(std::string(name));
    if (extension.empty())
        return FileClass::NoExtension;
    if (!inOneCase(extension))
        return FileClass::Other;
    if (PictureKind::of(extension))
        return FileClass::Picture;
    const auto isText = [&extension](std::string_view ending) { return equalIgnoringAsciiCase(extension, ending); };
    if (std::any_of(std::begin(kTextEndings), std::end(kTextEndings), isText))
        return FileClass::Text;
    return FileClass::Other;
}

} // namespace zanto
