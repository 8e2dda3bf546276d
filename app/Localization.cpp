#include "Localization.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace zanto {

void installJapanese(QApplication& app)
{
    // The families the window asks for by name, and the free fonts with the
    // same metrics style that Debian ships.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                               {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")});
    QApplication::setFont(windowFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

QFont windowFont(const QString& family, qreal points)
{
    // Named directly: a family that is not installed sends Qt through the
    // font configuration's aliases and fallbacks at every first use of a
    // script, a few milliseconds of the window's start.
    const QStringList standIns = QFont::substitutes(family);
    const auto installed = std::find_if(standIns.begin(), standIns.end(),
                                        [](const QString& candidate) { return QFontDatabase::hasFamily(candidate); });
    QFont font(installed != standIns.end() ? *installed : family);
    font.setPointSizeF(points);
    return font;
}

} // namespace zanto
