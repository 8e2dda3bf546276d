#pragma once

#include <QString>

namespace zanto::settings {

// Where and how the program's three remembered values are kept.
inline const QString kApplication = QStringLiteral("TOLVA");
inline const QString kSection = QStringLiteral("TOLVA_DATA");
inline const QString kMode = QStringLiteral("MODE");     // "1" continuous, "0" simple
inline const QString kPatterns = QStringLiteral("VORIS"); // "*.ext" joined by ";", last entry first
inline const QString kFolder = QStringLiteral("KALDEN");  // folder shown when the window closed
inline const QString kShots = QStringLiteral("SHOTS");    // "1": one number per shot, else one per file
inline const QString kShotsOn = QStringLiteral("1");

inline const QString kFirstRunPattern = QStringLiteral("*.jpg"); // preset of the first settings dialog
inline const QString kNoPattern = QStringLiteral("*.a");         // applied in place of an empty list

} // namespace zanto::settings
