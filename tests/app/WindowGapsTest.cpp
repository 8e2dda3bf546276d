#include "WindowFixture.h"

#include "app/ProgramSettings.h"
#include "app/frmAbout.h"
#include "app/frmSETEI.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QPlainTextEdit>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace zanto::test {
namespace {

namespace fs = std::filesystem;

class WindowGaps : public WindowFixture {};

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
    store.preset(QStringLiteral("VORIS"), QStringLiteral("*.jpg"));
    startWithStore();
    fs::current_path(before);
    EXPECT_EQ(find<FolderListBox>("Dir")->path(), fs::path(QDir::homePath().toStdString()).lexically_normal());
}

TEST_F(WindowGaps, LabelsShowNamesAsText)
{
    start(QStringLiteral("0"));
    for (const QLabel* shown : window->findChildren<QLabel*>())
        EXPECT_EQ(shown->textFormat(), Qt::PlainText) << shown->objectName().toStdString();
}

// Escape, control keys and pasted text obey the extension box's key rule.
// Neither dialog closes on Escape.
TEST_F(WindowGaps, DialogKeys)
{
    start(QStringLiteral("1"));
    ProgramSettings settings(store);
    frmSETEI dialog(values, settings, messenger, *window, window.get());
    dialog.show();
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Jpg"));
    const std::function<void()> refused[] = {[&] { QTest::keyClick(box, Qt::Key_Escape); },
                                             [&] { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); },
                                             [&] { box->paste(); }};
    for (const auto& act : refused) {
        messenger.clear();
        box->setText(QStringLiteral("ab"));
        act();
        EXPECT_EQ(messenger.texts(), QStringList{QStringLiteral("半角英数字を記入してください")});
        EXPECT_TRUE(box->text().isEmpty());
    }
    QTest::keyClick(dialog.findChild<QWidget*>(QStringLiteral("List1")), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    frmAbout about(opener, window.get());
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible());
}

} // namespace
} // namespace zanto::test
