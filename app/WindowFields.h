#pragma once

#include <string>

namespace zanto {

// Values that several of the main window's handlers share while it is open.
struct WindowFields {
    std::string SEL_PATH;     // native path of the file last clicked for preview
    std::string SEL_EXT;      // its extension with the dot, or empty
    std::string LAST_DIR;     // native path of the folder read at start-up and stored at closing
};

} // namespace zanto
