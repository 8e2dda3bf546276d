#pragma once

#include <QString>

namespace zanto {

// The values the whole program shares while it runs: the live copies of the
// stored mode and extension filter, and the mode as stored when the settings
// dialog's メインへ was last pressed.
struct ProgramValues {
    QString NOW_MODE;  // "1" continuous, "0" simple
    QString EXT_LIST;  // "*.ext" patterns joined by ";", stored order
    QString OLD_MODE;
};

} // namespace zanto
