#include "browse/InfoText.h"
#include "tests/support/TempFolder.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

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

TEST(FileFacts, ReadsLengthAndLocalTimeAndAnswersForAFifo)
{
    test::TempFolder folder;
    folder.write("a.dat", std::string(321, 'x'));
    const QDateTime when(QDate(2020, 6, 7), QTime(8, 9, 10));
    const utimbuf times{when.toSecsSinceEpoch(), when.toSecsSinceEpoch()};
    ASSERT_EQ(::utime(folder.pathOf("a.dat").c_str(), &times), 0);
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe").c_str(), 0600), 0);

    FileFacts facts;
    ASSERT_EQ(FileFacts::read(folder.pathOf("a.dat"), facts), FsError::None);
    EXPECT_EQ(facts.size, 321);
    EXPECT_EQ(facts.modified, when);
    EXPECT_EQ(FileFacts::read(folder.pathOf("gone"), facts), FsError::FileNotFound);
    EXPECT_EQ(FileFacts::read(folder.pathOf("pipe"), facts), FsError::None);
}

} // namespace
} // namespace zanto
