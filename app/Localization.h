#pragma once

class QApplication;

namespace zanto {

// Japanese everywhere: the controls' font families mapped to the Japanese
// fonts installed here, and Qt's own texts (standard buttons, context menus)
// in Japanese.
void installJapanese(QApplication& app);

} // namespace zanto
