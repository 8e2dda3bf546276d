#include "WindowFixture.h"

#include "browse/DriveBox.h"

#include <filesystem>

namespace zanto::test {
namespace {

using StartUp = WindowFixture;

// Every stored mode but "0" starts in continuous mode.
TEST_F(StartUp, TheStoredModeChoosesTheLayoutAndCaption)
{
    for (const char* stored : {"0", "", "2"}) {
        start(QString::fromLatin1(stored));
        const bool simple = QString::fromLatin1(stored) == u"0";
        EXPECT_EQ(window->windowTitle(), simple ? QStringLiteral("ZANTO＿[単純モード]") : QStringLiteral("ZANTO＿[連続モード]"));
        EXPECT_EQ(file().isVisible(), simple) << stored;
        EXPECT_EQ(list().isVisible(), !simple) << stored;
    }
}

// A folder change clears the simple-mode panel and the preview, selects no
// file and refills the rename list.
TEST_F(StartUp, AFolderChangeResetsThePanelAndRefillsTheRenameList)
{
    folder.writeAll({"a.txt", "b.jpg"});
    const std::string sub = folder.makeSubfolder("sub");
    std::filesystem::copy_file(folder.pathOf("b.jpg"), sub + "/p2.jpg");
    start(QStringLiteral("0"));
    file().setListIndex(0);
    ASSERT_FALSE(text().text().isEmpty());
    ASSERT_TRUE(find<QWidget>("mainTEXT")->isVisible());

    ASSERT_EQ(find<FolderListBox>("Dir")->setPath(sub), FsError::None);
    EXPECT_TRUE(text().text().isEmpty() && !text().isEnabled() && label("Label1").isEmpty() && label("Label2").isEmpty());
    EXPECT_FALSE(find<QLabel>("Label5")->isVisible());
    EXPECT_FALSE(find<QWidget>("mainTEXT")->isVisible()) << "no file of the previous folder shown";
    EXPECT_EQ(file().listIndex(), -1);
    EXPECT_EQ(list().items(), (std::vector<std::string>{"p2.jpg"}));
    EXPECT_EQ(find<DriveBox>("Drive")->currentFolder(), sub) << "the drive comes back to the folder opened";
}

} // namespace
} // namespace zanto::test
