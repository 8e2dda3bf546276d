#include "WindowFixture.h"

#include <filesystem>

namespace zanto::test {
namespace {

using ContinuousMode = WindowFixture;

TEST_F(ContinuousMode, RenamesTheListInTheUsersOrder)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.JPG", "keep.png"});
    start(QStringLiteral("1"));
    list().setListIndexQuietly(2);
    press("cmdUE"); // c, then a, b
    press("cmdUE");
    base().setText(QStringLiteral("旅行"));
    const auto before = folder.contents();
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");

    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              QStringLiteral("「旅行＋連番＋拡張子」に変換します.\r\n\r\n実行してもいいですか？"));
    EXPECT_EQ(messenger.shown()[0].icon, MsgIcon::Question);
    EXPECT_EQ(messenger.shown()[0].defaultButton, MsgDefault::Second);
    EXPECT_EQ(folder.contents().at("旅行1.JPG"), before.at("c.JPG"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"旅行1.JPG", "旅行2.jpg", "旅行3.jpg"}));
    EXPECT_TRUE(base().text().isEmpty());
    EXPECT_EQ(values.NOW_MODE, QStringLiteral("1"));
}

TEST_F(ContinuousMode, RefusedCharactersAndEmptyListsAskNothing)
{
    folder.writeAll({"a.jpg"});
    start(QStringLiteral("1"));
    base().setText(QStringLiteral("a|b"));
    press("cmdOK");
    ASSERT_EQ(messenger.texts(), QStringList{QStringLiteral("ファイル名に \\ / : , ; * ? \" < > . | は使用できません")});
    EXPECT_EQ(messenger.shown()[0].title, QStringLiteral("注意"));
    EXPECT_TRUE(base().text().isEmpty());

    messenger.clear();
    list().clear();
    base().setText(QStringLiteral("x"));
    press("cmdOK");
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_TRUE(base().text().isEmpty());
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(ContinuousMode, TypedSignsAreRefusedOncePerKey)
{
    start(QStringLiteral("1"));
    base().setFocus();
    QTest::keyClicks(&base(), QStringLiteral("a.b"));
    EXPECT_EQ(base().text(), QStringLiteral("ab"));
    EXPECT_EQ(messenger.shown().size(), 1);
    for (const QString& typed : {QStringLiteral("．"), QStringLiteral("＊")}) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(&base(), &key);
    }
    EXPECT_EQ(base().text(), QStringLiteral("ab．＊"));
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
    EXPECT_EQ(messenger.shown()[1].icon, MsgIcon::Critical);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg", "c.jpg"}));

    messenger.clear();
    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"1.jpg", "2.jpg"}));
}

} // namespace
} // namespace zanto::test
