#include "WindowFixture.h"

#include "rename/NameRules.h"
#include "tests/rename/FolderExpectations.h"

#include <QAbstractItemModel>
#include <QMainWindow>
#include <QPlainTextEdit>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Folders a user may meet: names in an old code page, of the longest length,
// with line breaks, dashes and direction marks, links, FIFOs, unreadable
// files, and a hundred thousand files. The window lists, previews, renames and
// deletes each correctly or refuses with a message, and never hangs or
// touches a file it was not asked to.

namespace zanto::test {
namespace {

namespace fs = std::filesystem;

// "写真" in Shift_JIS: not valid UTF-8.
const std::string kSjisPhoto = "\x8e\xca\x90\x5e";

// Turns a hang (a FIFO opened for reading, say) into a failing test run.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                std::fputs("hostile folder test hung\n", stderr);
                std::_Exit(EXIT_FAILURE);
            }
        })
    {
    }
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

class HostileFolder : public WindowFixture {
protected:
    QString shownIn(const ListBox& box, int row) const
    {
        return box.model()->data(box.model()->index(row, 0), Qt::DisplayRole).toString();
    }

    int rowOf(const ListBox& box, const std::string& name) const
    {
        const auto& items = box.items();
        const auto found = std::find(items.begin(), items.end(), name);
        return found == items.end() ? -1 : static_cast<int>(found - items.begin());
    }

    QString previewText() const { return find<QPlainTextEdit>("mainTEXT")->toPlainText(); }

    // Generous: a busy disk may slow a test down, only a hang takes this long.
    Watchdog watchdog{std::chrono::seconds(180)};
};

// Names that are legal on the disk but awkward everywhere else.
struct NameCase {
    const char* family;
    std::string name; // ends with ".txt"
    QString shown;
    QString stem;              // the old name without extension, as shown
    bool refusedAsTyped = false; // holds signs a typed name may not hold
};

std::vector<NameCase> strangeNames()
{
    const std::string longest = std::string(251, 'a') + ".txt";
    std::string longJapanese;
    for (int i = 0; i < 83; ++i)
        longJapanese += "長";
    return {
        {"shift_jis", kSjisPhoto + ".txt", QStringLiteral("写真.txt"), QStringLiteral("写真")},
        {"latin1", "caf\xe9.txt", QStringLiteral("café.txt"), QStringLiteral("café")},
        {"bytes_255", longest, QString::fromStdString(longest), QString(251, QLatin1Char('a'))},
        {"japanese_253_bytes", longJapanese + ".txt", QString::fromStdString(longJapanese + ".txt"),
         QString::fromStdString(longJapanese)},
        {"newline", "line\nbreak.txt", QStringLiteral("line\nbreak.txt"), QStringLiteral("line\nbreak")},
        {"leading_dash", "-rf.txt", QStringLiteral("-rf.txt"), QStringLiteral("-rf")},
        {"right_to_left_override", "photo\u202Etxt.exe.txt", QStringLiteral("photo\u202Etxt.exe.txt"),
         QStringLiteral("photo\u202Etxt.exe"), true},
        {"right_to_left_mark", "\u200F写真.txt", QStringLiteral("\u200F写真.txt"), QStringLiteral("\u200F写真")},
        {"full_width_signs", "全角＊？：＜＞｜／．.txt", QStringLiteral("全角＊？：＜＞｜／．.txt"),
         QStringLiteral("全角＊？：＜＞｜／．")},
        {"signs_legal_here", "a*b?c\\d:e.txt", QStringLiteral("a*b?c\\d:e.txt"), QStringLiteral("a*b?c\\d:e"), true},
        {"leading_blank", " lead.txt", QStringLiteral(" lead.txt"), QStringLiteral(" lead")},
    };
}

class StrangeName : public HostileFolder, public ::testing::WithParamInterface<NameCase> {
protected:
    // The strange file, a file that only looks like it, and a bystander.
    void fill()
    {
        folder.write(GetParam().name, "the strange one");
        folder.write("plain.txt", "plain");
        folder.write("other.dat", "not listed");
        before = folder.contents();
    }

    Contents before;
};

TEST_P(StrangeName, IsListedReadablyPreviewedAndBatchRenamed)
{
    fill();
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    const int row = rowOf(list(), GetParam().name);
    ASSERT_GE(row, 0) << "listed under its own bytes";
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(shownIn(list(), row), GetParam().shown);

    list().setListIndex(row);
    EXPECT_EQ(previewText(), QStringLiteral("the strange one\n"));
    EXPECT_TRUE(messenger.shown().isEmpty());

    list().setItems({GetParam().name});
    runBatch(QStringLiteral("旅行"));
    EXPECT_EQ(messenger.shown().size(), 1) << messenger.texts().join(u'|').toStdString();
    EXPECT_EQ(folder.contents(), movedContents(before, {{GetParam().name, "旅行1.txt"}}));
    EXPECT_EQ(listed(), (std::vector<std::string>{"plain.txt", "旅行1.txt"}));
}

TEST_P(StrangeName, IsRenamedAloneAndDeletedAlone)
{
    fill();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    const int row = rowOf(file(), GetParam().name);
    ASSERT_GE(row, 0);
    file().setListIndex(row);
    EXPECT_EQ(text().text(), GetParam().stem.left(text().maxLength()));
    EXPECT_EQ(label("Label1"), QLatin1Char(' ') + GetParam().stem);
    EXPECT_EQ(previewText(), QStringLiteral("the strange one\n"));

    // Enter on the name as shown renames nothing.
    press("cmd");
    if (GetParam().refusedAsTyped) {
        EXPECT_EQ(messenger.texts(), QStringList{QString::fromStdString(FORBIDDEN_MSG)});
        messenger.clear();
    }
    EXPECT_TRUE(messenger.shown().isEmpty()) << messenger.texts().join(u'|').toStdString();
    EXPECT_EQ(folder.contents(), before);

    file().setListIndex(rowOf(file(), GetParam().name));
    text().setText(QStringLiteral("新しい名前"));
    press("cmd");
    EXPECT_TRUE(messenger.shown().isEmpty()) << messenger.texts().join(u'|').toStdString();
    const Contents renamed = movedContents(before, {{GetParam().name, "新しい名前.txt"}});
    EXPECT_EQ(folder.contents(), renamed);

    // Back to the strange name, then away for good.
    fs::rename(folder.pathOf("新しい名前.txt"), folder.pathOf(GetParam().name));
    file().refresh();
    file().setListIndex(rowOf(file(), GetParam().name));
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    Contents deleted = before;
    deleted.erase(GetParam().name);
    EXPECT_EQ(folder.contents(), deleted);
    EXPECT_EQ(file().items(), std::vector<std::string>{"plain.txt"});
}

INSTANTIATE_TEST_SUITE_P(Names, StrangeName, ::testing::ValuesIn(strangeNames()),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(HostileFolder, TwoNamesThatLookAlikeReachEachTheirOwnFile)
{
    // The Shift_JIS name and the UTF-8 one both read 写真.txt.
    folder.write(kSjisPhoto + ".txt", "old code page");
    folder.write("写真.txt", "utf-8");
    const Contents before = folder.contents();
    start(QStringLiteral("0"), QStringLiteral("*.txt"));
    const int sjis = rowOf(file(), kSjisPhoto + ".txt");
    ASSERT_GE(sjis, 0);
    EXPECT_EQ(shownIn(file(), sjis), QStringLiteral("写真.txt"));

    file().setListIndex(sjis);
    EXPECT_EQ(previewText(), QStringLiteral("old code page\n"));
    press("cmd"); // unchanged: the look-alike's name is not asked for
    EXPECT_TRUE(messenger.shown().isEmpty()) << messenger.texts().join(u'|').toStdString();
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(file().listIndex(), sjis == 0 ? 1 : 0) << "the selection moves on";

    file().setListIndex(rowOf(file(), kSjisPhoto + ".txt"));
    text().setText(QStringLiteral("写真2"));
    press("cmd");
    EXPECT_EQ(folder.contents(), movedContents(before, {{kSjisPhoto + ".txt", "写真2.txt"}}));

    fs::rename(folder.pathOf("写真2.txt"), folder.pathOf(kSjisPhoto + ".txt"));
    file().refresh();
    file().setListIndex(rowOf(file(), kSjisPhoto + ".txt"));
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    EXPECT_EQ(folder.contents(), (Contents{{"写真.txt", "utf-8"}}));
}

TEST_F(HostileFolder, AVanishedShiftJisFileIsNamedReadablyInTheQuestion)
{
    folder.writeAll({kSjisPhoto + ".txt", "a.txt"});
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    fs::remove(folder.pathOf(kSjisPhoto + ".txt"));
    messenger.answer(MsgAnswer::Ok); // drop it
    runBatch(QString());

    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「写真.txt」が削除されています.\r\n\r\nリストから「写真.txt」を外しますか？"));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"1.txt"});
}

TEST_F(HostileFolder, NamesTooLongForTheDiskAreRefusedWithAMessage)
{
    folder.writeAll({"a.txt", "b.txt"});
    const Contents before = folder.contents();
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    const QString longBase(100, QChar(u'旅')); // 300 bytes
    runBatch(longBase);
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「") + longBase
                  + QStringLiteral("1.txt」は長すぎてファイル名にできません.\r\n\r\nファイル名変換を中止します"));
    EXPECT_EQ(messenger.shown()[1].title, QStringLiteral("ファイル名変更"));
    EXPECT_EQ(folder.contents(), before);

    window->TANJUN();
    messenger.clear();
    file().setListIndex(0);
    text().setText(longBase);
    press("cmd");
    EXPECT_EQ(messenger.texts(), QStringList{QStringLiteral("名前を変更できませんでした。")});
    EXPECT_EQ(folder.contents(), before);
}

TEST_F(HostileFolder, LinksAreListedOnlyWhenTheyLeadToFilesAndMoveWithoutTheirTargets)
{
    TempFolder elsewhere;
    elsewhere.write("target.txt", "far away");
    folder.write("real.txt", "real");
    folder.write("near.dat", "near");
    fs::create_symlink(elsewhere.pathOf("target.txt"), folder.pathOf("far.txt"));
    fs::create_symlink("near.dat", folder.pathOf("near.txt"));
    folder.makeSubfolder("sub");
    fs::create_symlink("sub", folder.pathOf("folder.txt"));
    fs::create_symlink("nowhere.txt", folder.pathOf("x2.txt")); // dangling, and the new name of an entry
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    ASSERT_EQ(listed(), (std::vector<std::string>{"far.txt", "near.txt", "real.txt"}));

    list().setListIndex(0);
    EXPECT_EQ(previewText(), QStringLiteral("far away\n"));
    runBatch(QStringLiteral("x"));

    // x2.txt is taken by the dangling link: near.txt keeps its temporary name.
    ASSERT_EQ(messenger.shown().size(), 2);
    const std::string nearNow = find<ListBox>("List2")->item(1);
    EXPECT_EQ(fs::read_symlink(folder.pathOf("x1.txt")), fs::path(elsewhere.pathOf("target.txt")));
    EXPECT_EQ(fs::read_symlink(folder.pathOf(nearNow)), fs::path("near.dat"));
    EXPECT_EQ(fs::read_symlink(folder.pathOf("x2.txt")), fs::path("nowhere.txt"));
    EXPECT_EQ(fs::read_symlink(folder.pathOf("folder.txt")), fs::path("sub"));
    EXPECT_EQ(readFile(folder.pathOf("x3.txt")), "real");
    EXPECT_EQ(elsewhere.contents(), (Contents{{"target.txt", "far away"}}));
    EXPECT_EQ(readFile(folder.pathOf("near.dat")), "near");
}

TEST_F(HostileFolder, FifosAreNeverOpenedNorRenamed)
{
    folder.write("a.txt", "a");
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.jpg").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.txt").c_str(), 0600), 0);
    start(QStringLiteral("1"), QStringLiteral("*.txt;*.jpg"));
    EXPECT_EQ(listed(), std::vector<std::string>{"a.txt"}) << "a FIFO is nothing to rename";

    // As if they had taken listed names since the listing.
    list().setItems({"pipe.jpg", "pipe.txt", "a.txt"});
    list().setListIndex(0);
    EXPECT_TRUE(find<QLabel>("Label5")->text().startsWith(QStringLiteral("拡張子「jpg」"))) << "information view";
    list().setListIndex(1);
    EXPECT_TRUE(find<QLabel>("Label5")->text().startsWith(QStringLiteral("拡張子「txt」")));
    EXPECT_TRUE(messenger.shown().isEmpty());

    messenger.answer(MsgAnswer::Ok); // confirmation
    messenger.answer(MsgAnswer::Ok); // drop pipe.txt
    messenger.answer(MsgAnswer::Ok); // drop pipe.jpg
    runBatch(QStringLiteral("x"));
    ASSERT_EQ(messenger.shown().size(), 3);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「pipe.txt」が削除されています.\r\n\r\nリストから「pipe.txt」を外しますか？"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"pipe.jpg", "pipe.txt", "x1.txt"}));
    EXPECT_TRUE(fs::is_fifo(folder.pathOf("pipe.jpg")));
    EXPECT_TRUE(fs::is_fifo(folder.pathOf("pipe.txt")));

    // A listed file replaced by a FIFO before the click, in simple mode.
    window->TANJUN();
    file().refresh();
    fs::remove(folder.pathOf("x1.txt"));
    ASSERT_EQ(::mkfifo(folder.pathOf("x1.txt").c_str(), 0600), 0);
    file().setListIndex(0);
    EXPECT_TRUE(find<QLabel>("Label5")->text().startsWith(QStringLiteral("拡張子「txt」")));
    EXPECT_EQ(text().text(), QStringLiteral("x1"));
}

TEST_F(HostileFolder, UnreadableFilesAreOfferedForDroppingAndPreviewQuietly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    folder.write("secret.txt", "secret");
    folder.write("open.txt", "open");
    ASSERT_EQ(::chmod(folder.pathOf("secret.txt").c_str(), 0), 0);
    start(QStringLiteral("1"), QStringLiteral("*.txt"));
    list().setListIndex(rowOf(list(), "secret.txt"));
    EXPECT_TRUE(messenger.shown().isEmpty());

    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Cancel);
    runBatch(QStringLiteral("x"));
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「secret.txt」が削除されています.\r\n\r\nリストから「secret.txt」を外しますか？"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"open.txt", "secret.txt"}));
}

// A folder in memory where the system has one: a hundred thousand files are
// made there in a second, while a busy disk under /tmp may take a minute.
std::unique_ptr<TempFolder> folderInMemory()
{
    const char* previous = std::getenv("TMPDIR");
    const std::optional<std::string> saved = previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
    std::error_code error;
    if (fs::is_directory("/dev/shm", error))
        ::setenv("TMPDIR", "/dev/shm", 1);
    auto folder = std::make_unique<TempFolder>();
    if (saved)
        ::setenv("TMPDIR", saved->c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    return folder;
}

// A hundred thousand files: listed, previewed and deleted from; a few
// thousand of them renamed.
TEST_F(HostileFolder, AHundredThousandFilesAreListedPreviewedAndPartlyRenamed)
{
    constexpr int kFiles = 100'000;
    constexpr int kRenamed = 3000;
    const auto big = folderInMemory();
    std::vector<std::string> chosen;
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%06d.txt", i);
        const int fd = ::open(big->pathOf(name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        if (i % 33 == 0 && chosen.size() < kRenamed) {
            chosen.push_back(name);
            ASSERT_EQ(::write(fd, name, 11), 11);
        }
        ::close(fd);
    }
    store.preset(settings::kMode, QStringLiteral("1"));
    store.preset(settings::kPatterns, QStringLiteral("*.txt"));
    store.preset(settings::kFolder, QString::fromStdString(big->path()));
    startWithStore();
    ASSERT_EQ(file().count(), kFiles);
    ASSERT_EQ(list().count(), kFiles);
    EXPECT_EQ(list().item(kFiles - 1), "f099999.txt");

    list().setListIndex(kFiles - 1);
    EXPECT_TRUE(find<QPlainTextEdit>("mainTEXT")->isVisible());
    EXPECT_TRUE(previewText().isEmpty());
    list().setListIndex(0);
    EXPECT_EQ(previewText(), QStringLiteral("f000000.txt\n"));

    list().setItems(chosen);
    runBatch(QStringLiteral("x"));
    ASSERT_EQ(messenger.shown().size(), 1) << messenger.texts().join(u'|').toStdString();
    EXPECT_EQ(list().count(), kFiles);
    const auto names = big->names();
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kFiles));
    const std::set<std::string> moved(chosen.begin(), chosen.end());
    std::size_t untouched = 0;
    for (const auto& name : names)
        untouched += name.starts_with("f") && !moved.count(name);
    EXPECT_EQ(untouched, static_cast<std::size_t>(kFiles - kRenamed));
    for (int i = 0; i < kRenamed; i += 499) {
        char name[32];
        std::snprintf(name, sizeof name, "x%04d.txt", i + 1);
        EXPECT_EQ(readFile(big->pathOf(name)), chosen[static_cast<std::size_t>(i)]);
    }

    list().setListIndexQuietly(kFiles - 1);
    const std::string last = list().selectedName();
    messenger.answer(MsgAnswer::Ok);
    window->KILLER();
    EXPECT_FALSE(fs::exists(big->pathOf(last)));
    EXPECT_EQ(list().count(), kFiles - 1);
    window.reset(); // before its folder goes
}

} // namespace
} // namespace zanto::test
