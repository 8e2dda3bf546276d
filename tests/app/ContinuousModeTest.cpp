#include "WindowFixture.h"

#include <filesystem>

namespace zanto::test {
namespace {

using ContinuousMode = WindowFixture;

// The window's part of a batch: the question, the end caption, the list
// re-read and the base name emptied. Where each file goes is the core's.
TEST_F(ContinuousMode, AsksAndRenamesTheListThenShowsTheFolder)
{
    folder.writeAll({"a.jpg", "b.jpg", "keep.png"});
    start(QStringLiteral("1"));
    list().setItems({"b.jpg", "a.jpg"});
    base().setText(QStringLiteral("旅行"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");

    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text, QStringLiteral("「旅行＋連番＋拡張子」に変換します.\r\n\r\n実行してもいいですか？"));
    EXPECT_EQ(messenger.shown()[0].defaultButton, MsgDefault::Second);
    EXPECT_EQ(folder.contents().at("旅行1.jpg"), "content of b.jpg");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"旅行1.jpg", "旅行2.jpg"}));
    EXPECT_TRUE(base().text().isEmpty());
}

TEST_F(ContinuousMode, AMissingFileCanBeDroppedOrEndTheRun)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("1"));
    std::filesystem::remove(folder.pathOf("b.jpg"));
    messenger.answer(MsgAnswer::Ok);     // confirmation
    messenger.answer(MsgAnswer::Cancel); // "b.jpg" is gone: end
    press("cmdOK");
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「b.jpg」が削除されています.\r\n\r\nリストから「b.jpg」を外しますか？"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg", "c.jpg"}));

    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
}

} // namespace
} // namespace zanto::test
