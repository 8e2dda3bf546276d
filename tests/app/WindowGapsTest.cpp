#include "WindowFixture.h"

#include "app/frmAbout.h"
#include "app/frmSETEI.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QPlainTextEdit>

#include <filesystem>
#include <unistd.h>

namespace zanto::test {
namespace {

namespace fs = std::filesystem;

class WindowGaps : public WindowFixture {};

// When the program leaves a list with nothing selected, the preview no longer
// shows the file that was selected.
enum class Deselection { FolderChange, EraseOnlyEntry };

class Deselecting : public WindowFixture, public ::testing::WithParamInterface<Deselection> {};

TEST_P(Deselecting, EmptiesThePreview)
{
    folder.writeAll({"a.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndex(0);
    ASSERT_TRUE(find<QPlainTextEdit>("mainTEXT")->isVisible());
    if (GetParam() == Deselection::FolderChange)
        find<FolderListBox>("Dir")->setPath(folder.makeSubfolder("sub"));
    else
        press("cmdERASE");
    EXPECT_FALSE(find<QPlainTextEdit>("mainTEXT")->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Programs, Deselecting,
                         ::testing::Values(Deselection::FolderChange, Deselection::EraseOnlyEntry),
                         [](const auto& info) {
                             return info.param == Deselection::FolderChange ? "folder_change" : "erase_only_entry";
                         });

TEST_F(WindowGaps, CheckPassDropsAtOnceAndKeepsSelectionAndCaptionOnCancel)
{
    folder.writeAll({"a.txt", "b.txt", "c.txt", "d.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndex(0);
    fs::remove(folder.pathOf("b.txt"));
    fs::remove(folder.pathOf("c.txt"));
    for (const MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Cancel})
        messenger.answer(answer);
    press("cmdOK");
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"}));
    EXPECT_EQ(list().selectedName(), "a.txt");
    // The caption held back after c was dropped shows before the question on b.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ファイルチェック中--残り2個"));
}

TEST_F(WindowGaps, UnchangedShiftJisNameWithBackslashTrailByteRenamesNothingSilently)
{
    const std::string so = "\x83\x5c.txt"; // ソ.txt
    folder.write(so);
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    file().setListIndex(0);
    press("cmd");
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_EQ(folder.names(), std::vector<std::string>{so});
}

TEST_F(WindowGaps, InputMethodCommitPassesTheCharacterFilter)
{
    start(QStringLiteral("1"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("a.b|c"));
    QApplication::sendEvent(&base(), &commit);
    EXPECT_EQ(base().text(), QStringLiteral("abc"));
    EXPECT_EQ(messenger.shown().size(), 1);
}

TEST_F(WindowGaps, StartsAtHomeWhenTheWorkingFolderIsGone)
{
    const fs::path before = fs::current_path();
    const std::string gone = folder.makeSubfolder("gone");
    ASSERT_EQ(::chdir(gone.c_str()), 0);
    fs::remove(gone);
    store.preset(settings::kPatterns, QStringLiteral("*.jpg"));
    startWithStore();
    fs::current_path(before);
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), fs::path(QDir::homePath().toStdString()).lexically_normal());
}

TEST_F(WindowGaps, NamesShowAsTextAndTheAboutBoxIgnoresEscape)
{
    start(QStringLiteral("0"));
    frmAbout about(opener, window.get());
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible());
    for (const QWidget* root : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&about)})
        for (const QLabel* shown : root->findChildren<QLabel*>())
            EXPECT_EQ(shown->textFormat(), Qt::PlainText) << shown->objectName().toStdString();
}

// The settings dialog closes only by メインへ or its close box. In the
// extension box Escape, control keys and pasted text obey the key rule.
struct DialogKey {
    const char* family;
    const char* target;
    Qt::Key key; // Key_Paste: pastes "Jpg" from the clipboard
    Qt::KeyboardModifiers modifiers;
    bool refused;
};

class SettingsKeys : public WindowFixture, public ::testing::WithParamInterface<DialogKey> {};

TEST_P(SettingsKeys, AreRefusedInTheBoxAndCloseNothing)
{
    const DialogKey& k = GetParam();
    start(QStringLiteral("1"));
    frmSETEI dialog(values, store, messenger, *window, window.get());
    dialog.show();
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
    box->setText(QStringLiteral("ab"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Jpg"));
    if (k.key == Qt::Key_Paste)
        box->paste();
    else
        QTest::keyClick(dialog.findChild<QWidget*>(QString::fromLatin1(k.target)), k.key, k.modifiers);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messenger.texts(), k.refused ? QStringList{QStringLiteral("半角英数字を記入してください")} : QStringList{});
    EXPECT_EQ(box->text(), k.refused ? QString() : QStringLiteral("ab"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SettingsKeys,
    ::testing::Values(DialogKey{"escape_in_box", "Text1", Qt::Key_Escape, Qt::NoModifier, true},
                      DialogKey{"ctrl_v_in_box", "Text1", Qt::Key_V, Qt::ControlModifier, true},
                      DialogKey{"paste_in_box", "Text1", Qt::Key_Paste, Qt::NoModifier, true},
                      DialogKey{"escape_on_list", "List1", Qt::Key_Escape, Qt::NoModifier, false}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test
