#include "WindowFixture.h"

#include "tests/rename/FolderExpectations.h"

#include <QAbstractItemModel>
#include <QPlainTextEdit>

#include <filesystem>
#include <sys/stat.h>

// Names a user may meet: in an old code page, of the longest length, with line
// breaks and direction marks. The window shows, previews, renames and deletes
// each correctly or refuses with a message, and never touches another file.

namespace zanto::test {
namespace {

namespace fs = std::filesystem;

// "写真" in Shift_JIS: not valid UTF-8.
const std::string kSjisPhoto = "\x8e\xca\x90\x5e";

class HostileFolder : public WindowFixture {
protected:
    QString shownIn(const ListBox& box, int row) const
    {
        return box.model()->data(box.model()->index(row, 0), Qt::DisplayRole).toString();
    }

    QString previewText() const { return find<QPlainTextEdit>("mainTEXT")->toPlainText(); }
};

// Names that are legal on the disk but awkward everywhere else.
struct NameCase {
    const char* family;
    std::string name; // ends with ".txt"
    QString shown;
};

std::vector<NameCase> strangeNames()
{
    const std::string longest = std::string(251, 'a') + ".txt";
    return {
        {"shift_jis", kSjisPhoto + ".txt", QStringLiteral("写真.txt")},
        {"bytes_255", longest, QString::fromStdString(longest)},
        {"right_to_left_mark", "\u200F写真.txt", QStringLiteral("\u200F写真.txt")},
    };
}

class StrangeName : public HostileFolder, public ::testing::WithParamInterface<NameCase> {
protected:
    // The strange file, and a UTF-8 name that may look like it (the
    // Shift_JIS name reads 写真.txt too).
    void fill()
    {
        folder.write(GetParam().name, "the strange one");
        folder.write("写真.txt", "look-alike");
        before = folder.contents();
    }

    Contents before;
};

TEST_P(StrangeName, IsShownReadablyRenamedAloneAndDeletedAlone)
{
    fill();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    const int row = file().indexOf(GetParam().name);
    ASSERT_GE(row, 0) << "listed under its own bytes";
    EXPECT_EQ(shownIn(file(), row), GetParam().shown);
    file().setListIndex(row);
    EXPECT_EQ(text().text(), GetParam().shown.chopped(4).left(text().maxLength()));
    EXPECT_EQ(label("Label1"), QLatin1Char(' ') + GetParam().shown.chopped(4));
    EXPECT_EQ(previewText(), QStringLiteral("the strange one\n"));

    // Enter on the name as shown renames nothing.
    press("cmd");
    EXPECT_TRUE(messenger.shown().isEmpty()) << messenger.texts().join(u'|').toStdString();
    EXPECT_EQ(folder.contents(), before);

    file().setListIndex(file().indexOf(GetParam().name));
    text().setText(QStringLiteral("新しい名前"));
    press("cmd");
    EXPECT_TRUE(messenger.shown().isEmpty()) << messenger.texts().join(u'|').toStdString();
    const Contents renamed = movedContents(before, {{GetParam().name, "新しい名前.txt"}});
    EXPECT_EQ(folder.contents(), renamed);

    // Back to the strange name, then away for good.
    fs::rename(folder.pathOf("新しい名前.txt"), folder.pathOf(GetParam().name));
    ASSERT_EQ(file().refresh(), FsError::None);
    file().setListIndex(file().indexOf(GetParam().name));
    messenger.answer(MsgAnswer::Ok);
    find<QAction>("GOMI")->trigger();
    Contents deleted = before;
    deleted.erase(GetParam().name);
    EXPECT_EQ(folder.contents(), deleted);
    EXPECT_EQ(file().items(), std::vector<std::string>{"写真.txt"});
}

INSTANTIATE_TEST_SUITE_P(Names, StrangeName, ::testing::ValuesIn(strangeNames()),
                         [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test
