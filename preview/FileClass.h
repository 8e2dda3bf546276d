#pragma once

#include <string_view>

namespace zanto {

// How the preview treats a file, by the exact ending of its name (letter case
// counts: "photo.JPG" is a picture, "photo.Jpg" is not). Picture endings are
// tested first.
enum class FileClass {
    Picture,
    Text,
    Other,
    NoExtension, // no extension by extensionOf (no dot, or a trailing one)
};

FileClass classifyFileName(std::string_view name);

} // namespace zanto
