#include "app/Messages.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace zanto
