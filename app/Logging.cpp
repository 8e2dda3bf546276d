#include "Logging.h"

namespace zanto {

// The failures are logged as warnings; only critical messages pass by default.
Q_LOGGING_CATEGORY(lcZanto, "zanto", QtCriticalMsg)

} // namespace zanto
