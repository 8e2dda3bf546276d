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

// The check pass runs from the end: a dropped file leaves the list at once;
// a cancel ends the run keeping the selection.
TEST_F(ContinuousMode, AMissingFileCanBeDroppedOrEndTheRun)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    start(QStringLiteral("1"));
    list().setListIndex(0);
    messenger.clear(); // the samples are no pictures
    std::filesystem::remove(folder.pathOf("b.jpg"));
    std::filesystem::remove(folder.pathOf("c.jpg"));
    for (const MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Cancel}) // run, drop c, end at b
        messenger.answer(answer);
    press("cmdOK");
    ASSERT_EQ(messenger.shown().size(), 3);
    EXPECT_EQ(messenger.shown()[2].text,
              QStringLiteral("「b.jpg」が削除されています.\r\n\r\nリストから「b.jpg」を外しますか？"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "d.jpg"}));
    EXPECT_EQ(list().selectedName(), "a.jpg");
    // The caption held back after c was dropped shows before the question on b.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ファイルチェック中--残り2個"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg", "d.jpg"}));

    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
}

} // namespace
} // namespace zanto::test
