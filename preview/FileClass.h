#pragma once

#include <string_view>

namespace zanto {

// How the preview treats a file, by the ending of its name written in one case
// ("photo.JPG" and "photo.jpg" are pictures, "photo.Jpg" is not). The picture
// kinds are PictureKind's; they are tested first.
enum class FileClass {
    Picture,
    Text,
    Other,
    NoExtension, // no extension by extensionOf (no dot, or a trailing one)
};

FileClass classifyFileName(std::string_view name);

} // namespace zanto
