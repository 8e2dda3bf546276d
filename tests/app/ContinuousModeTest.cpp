#include "WindowFixture.h"

#include "app/CameraClocksWindow.h"
#include "app/LongWork.h"
#include "app/NewNameTip.h"
#include "browse/FolderListBox.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/Gate.h"
#include "tests/support/MadeSamples.h"
#include "tests/support/ScopedTimeZone.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QCloseEvent>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <utility>

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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
    std::vector<std::string> shown = folder.names();
    std::erase(shown, "keep.png"); // the filter hides it
    EXPECT_EQ(listed(), shown);
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

    // Run again, b dropped: the run ends and the list shows the folder after it.
    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO_ [連続モード]"));
    EXPECT_EQ(listed(), folder.names());
}

// The clash box, the plan and the stamps share one reading of the folder; a
// folder changed while the user is asked is planned again.
TEST_F(ContinuousMode, ARunReadsTheFolderOnceUnlessItChanged)
{
    FaultyFileSystem faulty;
    faulty.watchFolders(true);
    windowFileSystem = &faulty;
    folder.writeAll({"a.jpg", "b.jpg"});
    start(QStringLiteral("1"));
    base().setText(QStringLiteral("t"));
    std::size_t before = faulty.folderReads();
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_EQ(faulty.folderReads() - before, 2u) << "the plan's reading, then the lists after the run";

    base().setText(QStringLiteral("u"));
    before = faulty.folderReads();
    messenger.onNextShow([this] { folder.write("u1.jpg"); }); // another program, while the question is open
    messenger.answer(MsgAnswer::Ok);
    messenger.answer(MsgAnswer::Yes);
    press("cmdOK");
    EXPECT_EQ(faulty.folderReads() - before, 3u);
    EXPECT_EQ(folder.contents().at("u1.jpg"), "content of u1.jpg") << "the name taken meanwhile is left alone";
    // The name taken meanwhile is told before anything moves.
    EXPECT_TRUE(messenger.texts().join('|').contains(QStringLiteral("既に使っています.\r\n\r\n「t1.jpg」→「u1.jpg」")));
    window.reset(); // before the file system it reads through
}

// The folder list's reading of a folder serves the file list too, unless the
// folder changed in between.
TEST_F(ContinuousMode, OpeningAFolderReadsItOnceUnlessItChanged)
{
    FaultyFileSystem faulty;
    faulty.watchFolders(true);
    windowFileSystem = &faulty;
    folder.writeAll({"a.jpg", "b.jpg"});
    std::filesystem::create_directory(folder.pathOf("sub"));
    start(QStringLiteral("1"));
    EXPECT_EQ(faulty.folderReads(), 1u);
    EXPECT_EQ(file().items(), (std::vector<std::string>{"a.jpg", "b.jpg"}));

    bool written = false;
    faulty.onAccess([&](std::string_view call, const std::string&) {
        if (call == "readEntries" && !std::exchange(written, true))
            folder.write("c.jpg"); // another program, between the two lists
    });
    const std::size_t before = faulty.folderReads();
    ASSERT_EQ(find<FolderListBox>("Dir")->setPath(folder.path()), FsError::None);
    EXPECT_EQ(faulty.folderReads() - before, 2u);
    EXPECT_EQ(file().items(), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    window.reset(); // before the file system it reads through
}

// Refresh starts the list afresh from the folder and empties the base name; a
// folder that can no longer be read is told, not shown as an empty one.
TEST_F(ContinuousMode, RefreshRereadsTheFolderAndTellsOneUnreadable)
{
    FaultyFileSystem faulty;
    windowFileSystem = &faulty;
    folder.writeAll({"a.txt", "b.txt"});
    start(QStringLiteral("1"));
    list().setListIndexQuietly(0);
    press("cmdERASE");
    folder.write("c.txt");
    base().setText(QStringLiteral("旅行"));
    press("cmdCLEAR");
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(list().listIndex(), -1);
    EXPECT_TRUE(base().text().isEmpty());
    EXPECT_TRUE(messenger.shown().isEmpty());

    faulty.failReading(FsError::PathFileAccess);
    press("cmdCLEAR");
    const QString unreadable = QStringLiteral("フォルダーを開けませんでした。\r\n\r\n%1").arg(QString::fromStdString(folder.path()));
    EXPECT_EQ(messenger.texts(), QStringList{unreadable});
    EXPECT_TRUE(listed().empty());
    window.reset(); // before the file system it reads through
}

TEST_F(ContinuousMode, TheTipShowsTheNameTheBatchGives)
{
    std::vector<std::string> names;
    for (char c = 'a'; c <= 'j'; ++c) // ten entries: two digits
        names.push_back(std::string(1, c) + (c == 'c' ? ".JPG" : ".jpg"));
    folder.writeAll(names);
    start(QStringLiteral("1"));
    const auto& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    base().setText(QStringLiteral("旅行"));
    EXPECT_EQ(tip.text(8), QStringLiteral("i.jpg → 旅行09.jpg"));
    list().setListIndexQuietly(9);
    press("cmdUE");
    EXPECT_EQ(tip.text(8), QStringLiteral("j.jpg → 旅行09.jpg")) << "the list as it is now";
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
    for (const auto& [old, renamed] : promised)
        EXPECT_EQ(after.at(renamed), before.at(old)) << old;
}

// A long list has the run's names worked out ahead on a thread of their own,
// for the list as it stands when they are done: the tip that follows reads
// nothing, and names worked out for an earlier list are dropped.
TEST_F(ContinuousMode, ALongListsTipIsWorkedOutAheadForTheListAsItStands)
{
    FaultyFileSystem faulty;
    faulty.watchFolders(true);
    windowFileSystem = &faulty;
    std::vector<std::string> names{"IMG_1000.xmp"};
    for (int i = 0; i < NewNameTip::kAheadFrom; ++i)
        names.push_back("IMG_" + std::to_string(1000 + i) + ".jpg");
    folder.writeAll(names);
    Gate gates[2];
    std::atomic<Gate*> held = nullptr; // the next reading off the window's thread waits there
    const auto here = std::this_thread::get_id();
    faulty.onAccess([&](std::string_view call, const std::string&) {
        if (call == "listNames" && std::this_thread::get_id() != here)
            if (Gate* gate = held.exchange(nullptr))
                gate->pass();
    });
    start(QStringLiteral("1"), QStringLiteral("*.jpg"));
    find<QAction>("SHOTS")->trigger();
    auto& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    QSignalSpy ready(&tip, &NewNameTip::namesReady);
    base().setText(QStringLiteral("旅"));
    ASSERT_TRUE(ready.wait(10000));

    // The list changes again while the names of its step before are being worked out.
    const auto swapWhileWorkingOut = [&](Gate& gate) {
        held = &gate;
        list().setListIndexQuietly(1);
        press("cmdUE"); // IMG_1001 first
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!gate.entered && std::chrono::steady_clock::now() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(gate.entered) << "no working-out ahead began";
        press("cmdSITA"); // and back
        gate.opened = true;
    };
    const QString first = QStringLiteral("IMG_1000.jpg → 旅0001.jpg\nIMG_1000.xmp → 旅0001.xmp");
    swapWhileWorkingOut(gates[0]);
    ASSERT_TRUE(ready.wait(10000));
    const std::size_t reads = faulty.folderReads();
    EXPECT_EQ(tip.text(0), first);
    EXPECT_EQ(tip.text(1), QStringLiteral("IMG_1001.jpg → 旅0002.jpg"));
    EXPECT_EQ(faulty.folderReads(), reads) << "worked out ahead";
    swapWhileWorkingOut(gates[1]);
    EXPECT_EQ(tip.text(0), first) << "asked before the list's own names are worked out";
    EXPECT_FALSE(gates[0].timedOut || gates[1].timedOut);
    window.reset(); // before the file system it reads through
}

// The menu item: one entry per shot, stored; the tip names every file of the
// shot; a new name held outside the run is told before the question.
TEST_F(ContinuousMode, ShotsShareANumberAndAClashIsToldFirst)
{
    folder.writeAll({"IMG_1.CR2", "IMG_1.JPG", "IMG_1.xmp", "IMG_2.JPG", "t2.JPG.bak"});
    start(QStringLiteral("1"), QStringLiteral("*.jpg;*.cr2"));
    find<QAction>("SHOTS")->trigger();
    EXPECT_EQ(listed(), (std::vector<std::string>{"IMG_1.CR2", "IMG_2.JPG"}));
    EXPECT_TRUE(store.writes.contains(QStringLiteral("SHOTS=1")));
    base().setText(QStringLiteral("t"));
    const NewNameTip& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    EXPECT_EQ(tip.text(0), QStringLiteral("IMG_1.CR2 → t1.CR2\nIMG_1.JPG → t1.JPG\nIMG_1.xmp → t1.xmp"));
    folder.write("IMG_1.CR2.xmp");
    const QString promised = tip.text(0);
    EXPECT_TRUE(promised.contains(QStringLiteral("IMG_1.CR2.xmp → t1.CR2.xmp"))) << "the folder as it is now";

    folder.write("t2.JPG", "outside");
    messenger.answer(MsgAnswer::No);
    press("cmdOK");
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              QStringLiteral("1個のファイルの新しい名前は、ほかのファイルが既に使っています.\r\n\r\n「IMG_2.JPG」→「t2.JPG」\r\n\r\nこのまま続けますか？"));
    EXPECT_EQ(messenger.shown()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messenger.shown()[0].defaultButton, MsgDefault::Second);

    messenger.clear();
    messenger.answer(MsgAnswer::Yes);
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    // The batch takes the shot as the tip did.
    auto after = folder.contents();
    for (const QString& line : promised.split(u'\n')) {
        const QStringList names = line.split(QStringLiteral(" → "));
        EXPECT_EQ(after[names[1].toStdString()], "content of " + names[0].toStdString()) << line.toStdString();
    }
    EXPECT_EQ(listed(), (std::vector<std::string>{"IMG_2.JPG", "t1.CR2", "t2.JPG"})) << "one entry per shot after the run";
    EXPECT_TRUE(messenger.shown().back().text.contains(QStringLiteral("「IMG_2.JPG」"))) << "the shot left is named";
}

// 新しい名前の一覧 opens from the list's menu and from the confirmation, which
// is asked again once it closes; a name held outside the run is marked, and
// its file ends under the temporary name both tables gave.
TEST_F(ContinuousMode, TheTableOfNewNamesOpensFromTheMenuAndTheConfirmation)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    folder.write("t2.jpg", "outside");
    start(QStringLiteral("1"));
    list().setItems({"a.jpg", "b.jpg"});
    base().setText(QStringLiteral("t"));
    QStringList seen;
    const auto readTable = [&] {
        QTimer::singleShot(0, [&] {
            auto* table = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(table->windowTitle(), QStringLiteral("新しい名前の一覧"));
            const QAbstractItemModel& rows = *table->findChild<QTableView*>(QStringLiteral("Names"))->model();
            seen << rows.index(0, 2).data().toString() + u'|' + rows.index(1, 3).data().toString() + u'|'
                    + rows.index(1, 2).data().toString();
            table->reject();
        });
    };
    readTable();
    find<QAction>("NEWNAMES")->trigger();
    for (const MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::More, MsgAnswer::Ok})
        messenger.answer(answer);
    readTable();
    press("cmdOK");

    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_TRUE(seen[0].startsWith(QStringLiteral("t1.jpg|「t2.jpg」はほかのファイルが使っているので、一時的な名前のまま残ります.|")));
    ASSERT_GE(messenger.shown().size(), 3);
    EXPECT_EQ(messenger.shown()[1].moreButton, QStringLiteral("新しい名前の一覧(&L)..."));
    EXPECT_EQ(messenger.shown()[2].text, messenger.shown()[1].text);
    const std::string temporary = seen[0].section(u'|', 2).toStdString();
    EXPECT_EQ(folder.contents(), (std::map<std::string, std::string>{{"t1.jpg", "content of a.jpg"}, {temporary, "content of b.jpg"},
                                           {"t2.jpg", "outside"}}));
}

// A trip: a camera 3 minutes fast with a burst whose counter wraps, its
// videos' local time written as UTC, a phone that records its zone, a Live
// Photo whose clip was renamed, Takeout's metadata. Its clocks put right in
// カメラの時計, it is numbered in the order it was shot.
TEST_F(ContinuousMode, ATripIsNumberedInTheOrderItWasShot)
{
    const ScopedTimeZone utc("UTC"); // the machine's zone is not the trip's
    const std::vector<TiffTag> canon{{0x010f, "Canon"}, {0x0110, "Canon EOS R6"}};
    const std::vector<TiffTag> phone{{0x010f, "Apple"}, {0x0110, "iPhone 15"}};
    const auto camera = [&](const char* clock, const char* subSeconds = "") {
        return jpegWithExif({{0x9003, clock}, {0x9291, subSeconds}}, canon);
    };
    const auto zoned = [&](const char* clock, std::vector<TiffTag> more = {}) {
        more.insert(more.begin(), {{0x9003, clock}, {0x9011, "+09:00"}});
        return jpegWithExif(more, phone);
    };
    folder.write("IMG_9998.JPG", camera("2024:05:01 10:03:00", "50")); // shot at 10:00:00.5
    folder.write("IMG_9999.JPG", camera("2024:05:01 10:05:00"));       // the burst at 10:02
    folder.write("IMG_0001.JPG", camera("2024:05:01 10:05:00"));
    folder.write("IMG_0002.JPG", camera("2024:05:01 10:05:00"));
    folder.write("MVI_0010.MOV", movie(kMay1st0130Utc + 9 * 3600 - 1800 + 240)); // 10:04 as UTC
    folder.write("P0.JPG", zoned("2024:05:01 10:00:00"));
    folder.write("P1.JPG", zoned("2024:05:01 10:01:00"));
    folder.write("P1.JPG.supplemental-metadata.json", "{}");
    folder.write("IMG_0005.HEIC", zoned("2024:05:01 10:03:00", {appleNote("LIVE-1")}));
    folder.write("IMG_0005_HEVC.MOV",
                 movie(kMay1st0130Utc, appleMeta({{"com.apple.quicktime.creationdate", "2024-05-01T10:03:00+0900"},
                                                  {"com.apple.quicktime.content.identifier", "LIVE-1"}})));
    start(QStringLiteral("1"), QStringLiteral("*.*"));
    find<QAction>("SHOTS")->trigger();
    find<QAction>("CLOCKS")->trigger();
    auto* clocks = window->findChild<CameraClocksWindow*>(QStringLiteral("CameraClocksWindow"));
    ASSERT_NE(clocks, nullptr);
    auto* cameras = clocks->findChild<QTableView*>(QStringLiteral("Cameras"));
    const auto choose = [&](const QString& name) {
        for (int row = 0; row < cameras->model()->rowCount(); ++row) {
            if (cameras->model()->index(row, 0).data().toString() == name)
                return cameras->selectRow(row);
        }
        FAIL() << name.toStdString();
    };
    ASSERT_EQ(cameras->model()->rowCount(), 3);
    // The camera by two files of one moment, its videos by their hours.
    choose(QStringLiteral("Canon EOS R6"));
    auto* mine = clocks->findChild<QComboBox*>(QStringLiteral("ThisFile"));
    auto* theirs = clocks->findChild<QComboBox*>(QStringLiteral("OtherFile"));
    mine->setCurrentIndex(mine->findText(QStringLiteral("IMG_9998.JPG")));
    theirs->setCurrentIndex(theirs->findText(QStringLiteral("P0.JPG"), Qt::MatchStartsWith));
    clocks->findChild<QPushButton*>(QStringLiteral("Match"))->click();
    choose(QStringLiteral("機種不明（MVI_*.MOV）"));
    clocks->findChild<QLineEdit*>(QStringLiteral("Offset"))->setText(QStringLiteral("－９:００:００"));
    clocks->findChild<QPushButton*>(QStringLiteral("SetOffset"))->click();
    EXPECT_EQ(cameras->model()->index(1, 5).data().toString() + cameras->model()->index(2, 5).data().toString(),
              QStringLiteral("-00:03:00-09:00:00"));
    const auto& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    ASSERT_EQ(list().item(1), "IMG_9998.JPG");
    EXPECT_EQ(tip.shownText(1), QStringLiteral("IMG_9998.JPG\n撮影日時 2024/05/01 10:00:00"));

    const auto before = folder.contents();
    base().setText(QStringLiteral("旅行"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    const std::map<std::string, std::string> moved{
        {"P0.JPG", "旅行1.JPG"},       {"IMG_9998.JPG", "旅行2.JPG"},
        {"P1.JPG", "旅行3.JPG"},       {"P1.JPG.supplemental-metadata.json", "旅行3.JPG.supplemental-metadata.json"},
        {"IMG_9999.JPG", "旅行4.JPG"}, {"IMG_0001.JPG", "旅行5.JPG"},
        {"IMG_0002.JPG", "旅行6.JPG"}, {"IMG_0005.HEIC", "旅行7.HEIC"},
        {"IMG_0005_HEVC.MOV", "旅行7_HEVC.MOV"}, {"MVI_0010.MOV", "旅行8.MOV"}};
    std::map<std::string, std::string> expected;
    for (const auto& [from, to] : moved)
        expected[to] = before.at(from);
    EXPECT_EQ(folder.contents(), expected);
}

// 番号の付け方 → 続きから finds a series written on a Mac under the base typed
// here; the tip tells that its files keep their names.
TEST_F(ContinuousMode, ContinuingASeriesFromTheMenuKeepsItsFiles)
{
    const std::string nfd = "cafe\xCC\x81"; // "café" as a Mac writes it
    folder.writeAll({nfd + "01.jpg", nfd + "07.jpg", "IMG_1.jpg"});
    start(QStringLiteral("1"));
    base().setText(QStringLiteral("café"));
    QTimer::singleShot(0, [] {
        auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        shown->findChild<QPushButton*>(QStringLiteral("continueSeries"))->click();
        shown->accept();
    });
    find<QAction>("NUMBERING")->trigger();
    const auto& tip = *window->findChild<NewNameTip*>(QStringLiteral("NewNameTip"));
    ASSERT_EQ(listed()[2], "IMG_1.jpg");
    EXPECT_EQ(tip.text(2), QStringLiteral("IMG_1.jpg → café08.jpg"));
    EXPECT_EQ(tip.text(0), QString::fromStdString(nfd) + QStringLiteral("01.jpg → そのまま（この番号の続きから付けます）"));
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
}

// The window answers the window system during the run; what arrives meanwhile
// (a close request, a timer such as the hand-over's) waits for the run's end.
TEST_F(ContinuousMode, ACloseAndATimerDuringTheRunWaitForItsEnd)
{
    FaultyFileSystem faulty;
    windowFileSystem = &faulty;
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    start(QStringLiteral("1"));
    bool timerFired = false;
    faulty.beforeRename(1, [&] {
        QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent); // as the window system asks
        QTimer::singleShot(1, window.get(), [&] { timerFired = true; });
        // The run's pause began before this call: its next keepAlive lets the window system in.
        std::this_thread::sleep_for(LongWork::kPumpInterval);
    });
    bool visibleInside = false, firedInside = true;
    faulty.beforeRename(4, [&] { visibleInside = window->isVisible(), firedInside = timerFired; });
    base().setText(QStringLiteral("旅行"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(firedInside);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired; }, 5000)) << "the timer fires once the run has ended";
    window.reset(); // before the file system it works through
}

} // namespace
} // namespace zanto::test
