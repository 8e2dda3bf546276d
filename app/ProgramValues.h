#pragma once

#include "Mode.h"
#include "rename/BatchRename.h"

#include <QString>

namespace zanto {

// The values the whole program shares while it runs: the live copies of the
// stored mode and extension filter, and the mode as stored when the settings
// dialog's メインへ was last pressed.
struct ProgramValues {
    Mode NOW_MODE;
    QString EXT_LIST;  // "*.ext" patterns joined by ";", stored order
    Mode OLD_MODE;
    bool shots = false;  // one number per shot (the rename list's menu)
    Numbering numbering; // 番号の付け方, for the window's life
};

} // namespace zanto
