#pragma once

#include <QFont>

class QApplication;

namespace zanto {

// Japanese everywhere: the controls' font families mapped to the Japanese
// fonts installed here, and Qt's own texts (standard buttons, context menus)
// in Japanese.
void installJapanese(QApplication& app);

// A font of one of the families the window asks for by name ("ＭＳ Ｐゴシック",
// "ＭＳ Ｐ明朝"), given as the installed font that stands in for it.
QFont windowFont(const QString& family, qreal points);

} // namespace zanto
