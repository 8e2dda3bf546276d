#include "WindowFixture.h"

#include "tests/support/FaultyFileSystem.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>

namespace zanto::test {
namespace {

using SimpleMode = WindowFixture;

// A click seeds the name box with the name without its extension; Enter
// renames and selects the file now at the renamed one's place.
TEST_F(SimpleMode, AClickSeedsTheNameAndEnterRenamesAndMovesOn)
{
    folder.writeAll({"apple.jpg", "photo.jpg", "sun.jpg"});
    start(QStringLiteral("0"), QStringLiteral("*.jpg"));
    const auto before = folder.contents();
    file().setListIndex(1);
    messenger.clear(); // the samples are no pictures
    EXPECT_EQ(text().text(), QStringLiteral("photo"));
    text().setText(QStringLiteral("zebra"));
    EXPECT_EQ(label("Label1"), QStringLiteral(" photo"));
    EXPECT_EQ(label("Label2"), QStringLiteral(" zebra"));

    QTest::keyClick(&text(), Qt::Key_Return);
    EXPECT_EQ(folder.contents().at("zebra.jpg"), before.at("photo.jpg"));
    EXPECT_EQ(file().selectedName(), "sun.jpg");
    EXPECT_EQ(text().text(), QStringLiteral("sun"));
}

// Down steps through the folder as it stands, though an unchanged one is not
// read again at each step: a file another program adds or takes away shows.
TEST_F(SimpleMode, DownStepsThroughTheFolderAsItStands)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    start(QStringLiteral("0"), QStringLiteral("*.jpg"));
    file().setListIndex(0);
    const auto down = [this] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyRelease(focus != nullptr ? focus : static_cast<QWidget*>(window.get()), Qt::Key_Down);
        return file().selectedName();
    };
    folder.writeAll({"c.jpg"});
    EXPECT_EQ(down(), "b.jpg");
    EXPECT_EQ(down(), "c.jpg");
    std::filesystem::remove(folder.pathOf("a.jpg"));
    EXPECT_EQ(down(), "b.jpg") << "from the last file, the first of the folder as it stands";
    messenger.clear(); // the samples are no pictures
}

// Each outcome has its message; only a missing file and refused access move
// the selection on.
TEST_F(SimpleMode, EachOutcomeIsToldAndKeepsTheFile)
{
    const struct {
        FsError error;
        const char* message;
        bool movesOn;
    } rows[] = {
        {FsError::FileNotFound, "フォルダーが存在しないので処理できませんでした。", true},
        {FsError::PathFileAccess, "エラーによって処理できませんでした。", true},
        {FsError::FileExists, "既に同じ名前が存在しています。", false},
        {FsError::Other, "名前を変更できませんでした。", false},
        {FsError::NoSafeRename, nullptr, false}, // names the folder and its file system
    };
    FaultyFileSystem faulty;
    windowFileSystem = &faulty;
    folder.writeAll({"a.txt", "b.txt", "c.txt"});
    const auto before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    for (const auto& row : rows) {
        file().setListIndex(0);
        messenger.clear();
        faulty = FaultyFileSystem();
        faulty.failRename(1, row.error);
        text().setText(QStringLiteral("new"));
        press("cmd");
        if (row.message != nullptr) {
            EXPECT_EQ(messenger.texts(), QStringList{QString::fromUtf8(row.message)});
        } else {
            EXPECT_TRUE(messenger.texts().value(0).startsWith(QStringLiteral("「%1」のファイルシステム（%2）は")
                                                                   .arg(QString::fromStdString(folder.path()),
                                                                        QString::fromStdString(faulty.typeName(folder.path())))));
        }
        EXPECT_EQ(folder.contents(), before);
        // "new" sorts after a and b.txt: RIMU selects position 0 again.
        EXPECT_EQ(file().selectedName(), "a.txt");
        EXPECT_EQ(text().text(), row.movesOn ? QStringLiteral("a") : QStringLiteral("new")) << row.message;
    }
    window.reset(); // before the file system it uses
}

// "が" as a Mac writes it (NFD) is the name typed here (NFC) to the user:
// taken, for the single rename and for the batch alike.
TEST_F(SimpleMode, ANameTakenInAnotherUnicodeFormIsTaken)
{
    const std::string macName = "\xe3\x81\x8b\xe3\x82\x99"; // か + combining voiced mark
    folder.writeAll({"a.txt", macName + ".txt", macName + "1.txt"});
    const auto before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("a.txt"));
    file().setListIndex(0);
    text().setText(QStringLiteral("が"));
    press("cmd");
    EXPECT_EQ(messenger.texts(), QStringList{QStringLiteral("既に同じ名前が存在しています。")});
    EXPECT_EQ(folder.contents(), before);

    start(QStringLiteral("1"), QStringLiteral("a.txt"));
    messenger.clear();
    base().setText(QStringLiteral("が"));
    messenger.answer(MsgAnswer::Yes);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_TRUE(messenger.shown().front().text.startsWith(QStringLiteral("1個のファイルの新しい名前は")));
    EXPECT_TRUE(messenger.shown().back().text.startsWith(QStringLiteral("1個のファイルは新しい名前がほかのファイルに使われているので")));
    EXPECT_EQ(folder.contents(), before);
}

using Deletion = WindowFixture;

// With shots on, a rename and a delete take the whole shot, its files listed
// or not; the question names them all.
TEST_F(Deletion, ARenameAndADeleteTakeTheWholeShot)
{
    folder.writeAll({"IMG_1.CR2", "IMG_1.CR2.xmp", "IMG_1.JPG", "IMG_2.CR2", "IMG_2.JPG"});
    store.preset(QStringLiteral("SHOTS"), QStringLiteral("1"));
    start(QStringLiteral("0"), QStringLiteral("*.jpg"));
    file().setListIndex(0);
    text().setText(QStringLiteral("夕焼け"));
    QTest::keyClick(&text(), Qt::Key_Return);
    const std::vector<std::string> renamed{"夕焼け.CR2", "夕焼け.CR2.xmp", "夕焼け.JPG"};
    std::vector<std::string> expected{"IMG_2.CR2", "IMG_2.JPG"};
    expected.insert(expected.end(), renamed.begin(), renamed.end());
    EXPECT_EQ(folder.names(), expected);

    start(QStringLiteral("1"), QStringLiteral("*.jpg"));
    messenger.clear();
    list().setListIndexQuietly(0);
    messenger.answer(MsgAnswer::Ok);
    find<QAction>("GOMI")->trigger();
    EXPECT_EQ(folder.names(), renamed);
    EXPECT_EQ(listed(), (std::vector<std::string>{"夕焼け.JPG"}));
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text, QStringLiteral("ごみ箱には入りません！！"));
    EXPECT_EQ(messenger.shown()[0].title, QStringLiteral("削除してもいいですか？"));
    EXPECT_EQ(messenger.shown()[0].details, QStringLiteral("「IMG_2.CR2」\n「IMG_2.JPG」\n"));
}

// Enter alone must not delete: the question's default button is Cancel.
TEST_F(Deletion, AsksFirstAndDeletesOnlyOnOk)
{
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(1);
    messenger.answer(MsgAnswer::Cancel);
    find<QAction>("GOMI")->trigger();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].defaultButton, MsgDefault::Second);
    EXPECT_EQ(folder.names().size(), 2u);

    messenger.answer(MsgAnswer::Ok);
    find<QAction>("GOMI")->trigger();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt"}));
}

// Used to delete the selected file, not the one the menu was opened on.
// The rename list keeps its order and removals: only the deleted entry leaves.
TEST_F(Deletion, TheMenuDeletesTheEntryPointedAtAndNothingOnEmptySpace)
{
    for (const bool simple : {true, false}) {
        folder.writeAll({"a.txt", "b.txt", "c.txt", "d.txt"});
        start(simple ? QStringLiteral("0") : QStringLiteral("1"), QStringLiteral("*.txt"));
        ListBox& box = simple ? static_cast<ListBox&>(file()) : list();
        if (!simple) {
            box.setListIndex(3);
            press("cmdERASE");
            box.setListIndex(2);
            press("cmdUE"); // a c b
        }
        box.setListIndex(0);
        const auto rightPress = [&](QPoint at) { QTest::mousePress(box.viewport(), Qt::RightButton, {}, at); };
        rightPress({4, box.viewport()->height() - 2});
        EXPECT_FALSE(find<QAction>("GOMI")->isEnabled()) << simple;
        rightPress(box.visualRect(box.model()->index(simple ? 2 : 1, 0)).center());
        ASSERT_TRUE(find<QAction>("GOMI")->isEnabled());
        EXPECT_FALSE(find<QPlainTextEdit>("mainTEXT")->isHidden()) << "c previewed";
        messenger.answer(MsgAnswer::Ok);
        find<QAction>("GOMI")->trigger();
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"})) << simple;
        EXPECT_TRUE(find<QPlainTextEdit>("mainTEXT")->isHidden()) << simple;
        if (!simple) {
            EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "b.txt"}));
            EXPECT_EQ(box.listIndex(), -1) << "a following × takes nothing out";
        }
        find<QMenu>("SETEI2")->close();
    }
}

TEST_F(Deletion, ALinkIsDeletedNotItsTarget)
{
    folder.writeAll({"target.dat", "a.txt"});
    std::filesystem::create_symlink(folder.pathOf("target.dat"), folder.pathOf("link.txt"));
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndexQuietly(1);
    messenger.answer(MsgAnswer::Ok);
    find<QAction>("GOMI")->trigger();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.txt", "target.dat"}));
}

} // namespace
} // namespace zanto::test
