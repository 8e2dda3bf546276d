#pragma once

#include <QLoggingCategory>

namespace zanto {

// Failures the program handles without a message box: a setting that could
// not be stored, a journal that could not be closed (it waits for the next
// start). Silent unless enabled, e.g. QT_LOGGING_RULES="zanto.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcZanto)

} // namespace zanto
