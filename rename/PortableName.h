#pragma once

#include "rename/NameMark.h"

#include <cstddef>
#include <string_view>

namespace zanto {

// What keeps a file name from travelling safely to a card, to Windows or to
// a Mac, though this folder takes it: a Windows device name (CON, COM1.jpg),
// a trailing dot or space, more than 255 bytes, a path past 260 characters
// once in a folder whose path takes `folderUnits` UTF-16 units, and signs
// that older systems and archivers garble.
NameMarks travelMarks(std::string_view name, std::size_t folderUnits);

} // namespace zanto
