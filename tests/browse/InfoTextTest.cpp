#include "browse/InfoText.h"
#include "tests/support/TempFolder.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace zanto {
namespace {

FileFacts factsAt(qint64 size, const QDateTime& time)
{
    FileFacts facts;
    facts.size = size;
    facts.modified = time;
    return facts;
}

TEST(InfoText, ThreeParagraphsWithExtension)
{
    const QDateTime time(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(infoText(".gz", factsAt(123456, time)),
              QStringLiteral("拡張子「gz」\r\n\r\n123456バイト\r\n\r\n2024/03/05 07:08:09"));
}

TEST(InfoText, KeepsTheExtensionsCaseAndSaysNoneWithout)
{
    const QDateTime time(QDate(1999, 12, 31), QTime(23, 59, 0));
    EXPECT_EQ(infoText(".Jpg", factsAt(0, time)), QStringLiteral("拡張子「Jpg」\r\n\r\n0バイト\r\n\r\n1999/12/31 23:59:00"));
    EXPECT_EQ(infoText("", factsAt(7, time)), QStringLiteral("拡張子「なし」\r\n\r\n7バイト\r\n\r\n1999/12/31 23:59:00"));
}

TEST(InfoText, SameTextInAnyLocale)
{
    const QDateTime time(QDate(2024, 1, 2), QTime(3, 4, 5));
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString text = infoText(".txt", factsAt(1234567, time));
    QLocale::setDefault(saved);
    EXPECT_EQ(text, QStringLiteral("拡張子「txt」\r\n\r\n1234567バイト\r\n\r\n2024/01/02 03:04:05"));
}

TEST(FileFacts, ReadsLengthAndLocalModificationTime)
{
    test::TempFolder folder;
    folder.write("a.dat", std::string(321, 'x'));
    const QDateTime when(QDate(2020, 6, 7), QTime(8, 9, 10));
    const utimbuf times{when.toSecsSinceEpoch(), when.toSecsSinceEpoch()};
    ASSERT_EQ(::utime(folder.pathOf("a.dat").c_str(), &times), 0);

    FileFacts facts;
    ASSERT_EQ(FileFacts::read(folder.pathOf("a.dat"), facts), FsError::None);
    EXPECT_EQ(facts.size, 321);
    EXPECT_EQ(facts.modified.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), QStringLiteral("2020/06/07 08:09:10"));
}

TEST(FileFacts, VanishedFileIsNotFoundAndFifoAnswers)
{
    test::TempFolder folder;
    FileFacts facts;
    EXPECT_EQ(FileFacts::read(folder.pathOf("gone"), facts), FsError::FileNotFound);
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe").c_str(), 0600), 0);
    EXPECT_EQ(FileFacts::read(folder.pathOf("pipe"), facts), FsError::None);
    EXPECT_EQ(facts.size, 0);
}

} // namespace
} // namespace zanto
