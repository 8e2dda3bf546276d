#include "WindowFixture.h"


#include <filesystem>

namespace zanto::test {
namespace {

using SimpleMode = WindowFixture;

TEST_F(SimpleMode, AClickSeedsTheNameBoxWithTheNameWithoutExtension)
{
    folder.writeAll({"a.b.txt", "README.txt"});
    start(QStringLiteral("0"));
    file().setListIndex(0);
    EXPECT_EQ(text().text(), QStringLiteral("a.b"));
    EXPECT_TRUE(text().isEnabled());
    EXPECT_FALSE(text().isReadOnly());
    EXPECT_EQ(label("Label1"), QStringLiteral(" a.b"));
    EXPECT_EQ(label("Label2"), QStringLiteral(" a.b"));
    text().setText(QStringLiteral("new"));
    EXPECT_EQ(label("Label2"), QStringLiteral(" new"));
    text().clear();
    EXPECT_EQ(label("Label2"), QStringLiteral(" a.b"));
}

TEST_F(SimpleMode, FileClicksChangeNothingInContinuousMode)
{
    folder.writeAll({"a.txt"});
    start(QStringLiteral("1"));
    file().setListIndex(0);
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_TRUE(window->fields().SEL_PATH.empty());
}

TEST_F(SimpleMode, EnterRenamesAndMovesOn)
{
    folder.writeAll({"apple.jpg", "photo.jpg", "sun.jpg"});
    start(QStringLiteral("0"), QStringLiteral("*.jpg"));
    const auto before = folder.contents();
    messenger.answer(MsgAnswer::Ok); // the text files are no pictures
    file().setListIndex(1);
    messenger.clear();
    text().setText(QStringLiteral("zebra"));
    press("cmd");
    EXPECT_EQ(folder.contents().at("zebra.jpg"), before.at("photo.jpg"));
    // zebra sorts after photo and sun.jpg: position 1 again, now sun.jpg.
    EXPECT_EQ(file().selectedName(), "sun.jpg");
    EXPECT_EQ(text().text(), QStringLiteral("sun"));
}

TEST_F(SimpleMode, APastedSignIsRefusedAndTheSelectionMovesOn)
{
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    file().setListIndex(0);
    text().setText(QStringLiteral("x:y"));
    press("cmd");
    EXPECT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(file().selectedName(), "b.txt");
}

TEST_F(SimpleMode, AVanishedFileIsToldAndTheListReread)
{
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    std::filesystem::remove(folder.pathOf("b.txt"));
    file().setListIndex(1);
    EXPECT_EQ(messenger.texts(), QStringList{QStringLiteral("ファイルがありません")});
    EXPECT_EQ(file().items(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(file().listIndex(), -1) << "the saved position lies past the end";
}

using Deletion = WindowFixture;

TEST_F(Deletion, AsksFirstAndDeletesOnlyOnOk)
{
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(1);
    messenger.answer(MsgAnswer::Cancel);
    window->KILLER();
    ASSERT_EQ(messenger.shown().size(), 1);
    const MessageRequest& asked = messenger.shown()[0];
    EXPECT_EQ(asked.text, QStringLiteral("ごみ箱には入りません！！"));
    EXPECT_EQ(asked.title, QStringLiteral("削除してもいいですか？"));
    EXPECT_EQ(asked.icon, MsgIcon::Exclamation);
    EXPECT_EQ(asked.defaultButton, MsgDefault::Second) << "Enter alone does not delete";
    EXPECT_EQ(folder.names().size(), 2u);

    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(list().listIndex(), -1);
}

TEST_F(Deletion, InSimpleModeLocksTheNameBox)
{
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    file().setListIndex(0);
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"b.txt"}));
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_FALSE(text().isEnabled());
    EXPECT_TRUE(label("Label1").isEmpty());
}

TEST_F(Deletion, AFailureIsToldAndChangesNothing)
{
    folder.writeAll({"a.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(0);
    std::filesystem::remove(folder.pathOf("a.txt"));
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text, QStringLiteral("「a.txt」を削除できませんでした。"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt"}));
}

TEST_F(Deletion, ALinkIsDeletedNotItsTarget)
{
    folder.writeAll({"target.dat"});
    std::filesystem::create_symlink(folder.pathOf("target.dat"), folder.pathOf("link.txt"));
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(0);
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"target.dat"}));
}

} // namespace
} // namespace zanto::test
