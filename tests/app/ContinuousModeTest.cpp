#include "WindowFixture.h"

#include "app/NewNameTip.h"

#include <QAction>
#include <QMainWindow>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace zanto::test {
namespace {

// The rename list's buttons: (entries, selected) before, the button, (entries, selected) after.
struct ListCase {
    const char* family;
    std::vector<std::string> before;
    int selected;
    const char* button;
    std::vector<std::string> after;
    int selectedAfter;
};

class ListButtons : public WindowFixture, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListButtons, EditOnlyTheList)
{
    const ListCase& c = GetParam();
    folder.writeAll(c.before);
    start(QStringLiteral("1"), QStringLiteral("*"));
    list().setItems(c.before); // the user's order, whatever the folder's
    list().setListIndexQuietly(c.selected);
    const auto contents = folder.contents();
    press(c.button);
    EXPECT_EQ(listed(), c.after);
    EXPECT_EQ(list().listIndex(), c.selectedAfter);
    EXPECT_EQ(folder.contents(), contents) << "the files stay as they are";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListButtons,
    ::testing::Values(
        ListCase{"up_middle", {"a", "b", "c", "d"}, 2, "cmdUE", {"a", "c", "b", "d"}, 1},
        ListCase{"up_first", {"a", "b"}, 0, "cmdUE", {"a", "b"}, 0},
        ListCase{"up_none", {"a", "b"}, -1, "cmdUE", {"a", "b"}, -1},
        ListCase{"down_middle", {"a", "b", "c"}, 1, "cmdSITA", {"a", "c", "b"}, 2},
        ListCase{"down_last", {"a", "b"}, 1, "cmdSITA", {"a", "b"}, 1},
        ListCase{"erase_last_wraps_to_first", {"a", "b", "c"}, 2, "cmdERASE", {"a", "b"}, 0},
        ListCase{"erase_middle_selects_next", {"a", "b", "c"}, 1, "cmdERASE", {"a", "c"}, 1},
        ListCase{"erase_only", {"a"}, 0, "cmdERASE", {}, -1},
        ListCase{"erase_none", {"a", "b"}, -1, "cmdERASE", {"a", "b"}, -1}),
    [](const auto& info) { return std::string(info.param.family); });

using ContinuousMode = WindowFixture;

TEST_F(ContinuousMode, MovingKeepsThePreviewWhileErasingPreviewsTheNext)
{
    folder.writeAll({"a.txt", "b.txt", "c.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndex(0);
    auto* view = find<QPlainTextEdit>("mainTEXT");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("content of a.txt\n"));
    press("cmdSITA");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("content of a.txt\n"));
    press("cmdERASE");
    EXPECT_EQ(view->toPlainText(), QStringLiteral("content of c.txt\n"));
}

TEST_F(ContinuousMode, RefreshRestoresTheListingAndClearsTheBaseName)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("1"));
    list().setListIndexQuietly(0);
    press("cmdERASE");
    press("cmdSITA");
    base().setText(QStringLiteral("旅行"));
    press("cmdCLEAR");
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_TRUE(base().text().isEmpty());
}

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
    const auto after = folder.contents();
    ASSERT_EQ(folder.names(), (std::vector<std::string>{"keep.png", "旅行1.JPG", "旅行2.jpg", "旅行3.jpg"}));
    EXPECT_EQ(after.at("旅行1.JPG"), before.at("c.JPG"));
    EXPECT_EQ(after.at("旅行2.jpg"), before.at("a.jpg"));
    EXPECT_EQ(after.at("旅行3.jpg"), before.at("b.jpg"));
    EXPECT_EQ(after.at("keep.png"), before.at("keep.png"));
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
    EXPECT_EQ(listed(), (std::vector<std::string>{"旅行1.JPG", "旅行2.jpg", "旅行3.jpg"}));
    EXPECT_TRUE(base().text().isEmpty());
    EXPECT_EQ(values.NOW_MODE, QStringLiteral("1"));
}

TEST_F(ContinuousMode, TheTipShowsTheNameTheBatchGives)
{
    std::vector<std::string> names;
    for (char c = 'a'; c <= 'j'; ++c) // ten entries: two digits
        names.push_back(std::string(1, c) + (c == 'c' ? ".JPG" : ".jpg"));
    folder.writeAll(names);
    start(QStringLiteral("1"));
    list().setListIndexQuietly(9);
    press("cmdUE");
    const auto& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    base().setText(QStringLiteral("旅.行"));
    EXPECT_TRUE(tip.text(0).isEmpty()) << "a refused name names nothing";
    base().setText(QStringLiteral("旅行"));
    EXPECT_EQ(tip.text(2), QStringLiteral("c.JPG → 旅行03.JPG"));
    std::vector<std::pair<std::string, std::string>> promised;
    for (int row = 0; row < list().count(); ++row) {
        const QStringList parts = tip.text(row).split(QStringLiteral(" → "));
        promised.emplace_back(parts[0].toStdString(), parts[1].toStdString());
    }
    const auto before = folder.contents();
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    const auto after = folder.contents();
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [old, renamed] : promised)
        EXPECT_EQ(after.at(renamed), before.at(old)) << old;
}

TEST_F(ContinuousMode, OrdersReorderOnlyTheListedEntries)
{
    folder.writeAll({"a.txt", "b.txt", "c.txt", "d.txt"});
    auto modified = std::filesystem::file_time_type::clock::now();
    for (const char* name : {"d.txt", "c.txt", "b.txt", "a.txt"})
        std::filesystem::last_write_time(folder.pathOf(name), modified += std::chrono::minutes(1));
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(2);
    press("cmdERASE"); // "c.txt" leaves the list; "d.txt" is selected
    find<QAction>("BYDATE")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"d.txt", "b.txt", "a.txt"}));
    EXPECT_EQ(list().selectedName(), "d.txt");
    find<QAction>("BYNAME")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"}));
    EXPECT_EQ(list().selectedName(), "d.txt");
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

TEST_F(ContinuousMode, ANameHeldOutsideTheListIsReported)
{
    folder.writeAll({"a.txt", "b.txt", "2.txt"});
    start(QStringLiteral("1"));
    list().setListIndexQuietly(0); // "2.txt" leaves the list
    press("cmdERASE");
    messenger.clear();
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].buttons, MsgButtons::Ok);
    const auto names = folder.names();
    EXPECT_EQ(names.size(), 3u);
    EXPECT_TRUE(std::count(names.begin(), names.end(), "1.txt"));
    EXPECT_TRUE(std::count(names.begin(), names.end(), "2.txt"));
}

} // namespace
} // namespace zanto::test
