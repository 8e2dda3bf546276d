#include "Logging.h"

namespace zanto {

// The failures are logged as warnings; only critical messages pass by default.
Q_LOGGING_CATEGORY(lcZanto, "zanto", QtCriticalMsg)

void logJournalLeft(const std::string& name)
{
    qCWarning(lcZanto) << "journal not closed, left for the next start:" << name.c_str();
}

} // namespace zanto
