#pragma once

#include <QLoggingCategory>

#include <string>

namespace zanto {

// Failures the program handles without a message box: a setting that could
// not be stored, a journal that could not be closed (it waits for the next
// start). Silent unless enabled, e.g. QT_LOGGING_RULES="zanto.warning=true".
Q_DECLARE_LOGGING_CATEGORY(lcZanto)

// The journal `name` could not be closed after its run: the next start offers it.
void logJournalLeft(const std::string& name);

} // namespace zanto
