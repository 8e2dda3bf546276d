#include "app/Messages.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zanto {
namespace {

// A notice after a run names five files, with their names before it where
// those differ, and counts the rest; its details name every one.
TEST(BatchNoticeTest, NamesFiveFilesAndCountsTheRest)
{
    std::vector<messages::NoticeName> names;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        names.push_back({name, name});
    names[1].original = QStringLiteral("x");
    const MessageRequest notice = messages::notRenamed(names);
    EXPECT_TRUE(notice.text.startsWith(QStringLiteral("6個のファイル")));
    EXPECT_TRUE(notice.text.endsWith(QStringLiteral("「a」\r\n「b」（元の名前「x」）\r\n「c」\r\n「d」\r\n「e」\r\nほか1個")));
    EXPECT_EQ(notice.details.count(u'\n'), 6);
}

// Why the journal could not be written is told in Japanese for every error,
// the rare ones too, never in the C library's English.
TEST(JournalUnwritableTest, TellsEveryReasonInJapanese)
{
    for (const int error : {ENOSPC, EACCES, EROFS, ENOTDIR, EIO, EMFILE, ENOLCK, EXDEV, EBADF}) {
        const QString text = messages::journalUnwritable("/s", std::error_code(error, std::generic_category())).text;
        EXPECT_FALSE(text.contains(QString::fromStdString(std::generic_category().message(error)))) << error;
        EXPECT_FALSE(text.contains(u':')) << error;
        EXPECT_TRUE(text.contains(QStringLiteral("「/s」に書き込めません（"))) << error;
    }
}

} // namespace
} // namespace zanto
