#include "browse/InfoText.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zanto {
namespace {

TEST(InfoText, SameThreeParagraphsInAnyLocale)
{
    FileFacts facts;
    facts.size = 1234567;
    facts.modified = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString withExtension = infoText(".Jpg", facts);
    const QString without = infoText("", facts);
    QLocale::setDefault(saved);
    EXPECT_EQ(withExtension, QStringLiteral("拡張子「Jpg」\r\n\r\n1234567バイト\r\n\r\n2024/01/02 03:04:05"));
    EXPECT_EQ(without, QStringLiteral("拡張子「なし」\r\n\r\n1234567バイト\r\n\r\n2024/01/02 03:04:05"));
}

} // namespace
} // namespace zanto
