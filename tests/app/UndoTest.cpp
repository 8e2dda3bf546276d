#include "app/StartupRecovery.h"
#include "fs/StateFolder.h"
#include "rename/BatchJournal.h"
#include "rename/BatchRename.h"
#include "rename/Recovery.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TestVolume.h"

#include <QAction>
#include <QMenu>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

// What the window adds to the journal: the start-up question, the undo menu
// item and its question, the notices, the refreshed lists.

namespace zanto::test {
namespace {

using Contents = std::map<std::string, std::string>;

class UndoTest : public WindowFixture {
protected:
    bool undoEnabled()
    {
        emit find<QMenu>("ETC")->aboutToShow();
        return find<QAction>("UNDO")->isEnabled();
    }
    void startUp()
    {
        StartupRecovery(batches, fileSystem, [this](const MessageRequest& r) { return messenger.show(nullptr, r); })
            .run();
    }

    TempFolder stateHome;
    StateFolder state{stateHome.path() + "/TOLVA"};
    BatchJournal batches{state, fileSystem};
};

void expectBox(const MessageRequest& box, const QString& text, MsgButtons buttons, MsgDefault byDefault,
               const QString& title)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(box.defaultButton, byDefault);
    EXPECT_EQ(box.title, title);
}

TEST_F(UndoTest, UndoAsksThenLeavesFilesChangedSinceAndNamesThem)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    journal = &batches;
    start(QStringLiteral("1"), QStringLiteral("*.jpg"));
    EXPECT_FALSE(undoEnabled());
    base().setText(QStringLiteral("x"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    ASSERT_EQ(listed(), (std::vector<std::string>{"x1.jpg", "x2.jpg", "x3.jpg"}));
    std::filesystem::rename(folder.pathOf("x2.jpg"), folder.pathOf("mine.jpg"));
    ASSERT_TRUE(undoEnabled());

    messenger.clear();
    messenger.answer(MsgAnswer::Ok);
    find<QAction>("UNDO")->trigger();
    ASSERT_EQ(messenger.shown().size(), 2);
    expectBox(messenger.shown()[0],
              QStringLiteral("「%1」の直前の連続変換を元に戻します.\r\n\r\n実行してもいいですか？").arg(folder.path().c_str()),
              MsgButtons::OkCancel, MsgDefault::Second, QStringLiteral("元に戻す"));
    EXPECT_TRUE(messenger.shown()[1].text.endsWith(QStringLiteral("「x2.jpg」（元の名前「b.jpg」）")));
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.jpg", "c.jpg", "mine.jpg"})) << "undone and refreshed";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZANTO＿[連続モード]"));
    EXPECT_FALSE(undoEnabled()) << "one level of undo";
}

// An undo the folder cannot take is told and moves nothing; the record stays.
TEST_F(UndoTest, AnUndoThePlanRefusesIsToldAndKeepsTheRecord)
{
    FaultyFileSystem faulty;
    windowFileSystem = &faulty;
    const std::string longName = "a-name-longer-than-any-temporary-one.jpg";
    folder.writeAll({longName});
    journal = &batches;
    start(QStringLiteral("1"), QStringLiteral("*.jpg"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    const std::vector<std::string> renamed = folder.names();
    struct Refusal {
        std::size_t maxNameLength;
        FsError probes;
        std::string text;
    };
    for (const Refusal& row : {Refusal{30, FsError::None, "「" + longName + "」は長すぎてファイル名にできません."},
                               Refusal{255, FsError::PathFileAccess, "「" + folder.path() + "」には"}}) {
        faulty.setMaxNameLength(row.maxNameLength);
        faulty.answerProbes(row.probes);
        messenger.clear();
        messenger.answer(MsgAnswer::Ok);
        find<QAction>("UNDO")->trigger();
        ASSERT_EQ(messenger.shown().size(), 2) << row.text;
        EXPECT_TRUE(messenger.shown()[1].text.startsWith(QString::fromStdString(row.text))) << row.text;
        EXPECT_EQ(folder.names(), renamed);
        EXPECT_TRUE(undoEnabled());
    }
    window.reset(); // before the file system it works through
}

TEST_F(UndoTest, AnUnfinishedRunIsOfferedBackAtStartUpAndKeptOnCancel)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    const BatchPlan plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, "b", fileSystem);
    ASSERT_TRUE(batches.begin(plan));
    std::filesystem::rename(folder.pathOf("a.jpg"), folder.pathOf(plan.items[0].temporary)); // then killed

    messenger.answer(MsgAnswer::Cancel);
    startUp();
    ASSERT_EQ(messenger.shown().size(), 1);
    expectBox(messenger.shown()[0],
              QStringLiteral("「%1」での前回の連続変換は途中で終わりました.\r\n\r\n元のファイル名に戻しますか？")
                  .arg(folder.path().c_str()),
              MsgButtons::YesNoCancel, MsgDefault::First, QStringLiteral("ファイル名変更"));
    messenger.answer(MsgAnswer::Yes);
    startUp();
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg", "b.jpg"}));
    messenger.clear();
    startUp();
    EXPECT_TRUE(messenger.shown().isEmpty()) << "nothing left to ask";
}

// Used to overwrite one run's journal with the next, and to store a killed
// undo, finished at the next start, as the batch to undo.
TEST_F(UndoTest, EachUnfinishedRunIsAskedNamingItsFolderAndAKilledUndoNeverBecomesTheRecord)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    const BatchPlan plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, "x", fileSystem);
    auto run = batches.begin(plan);
    ASSERT_TRUE(run && run->finish(applyBatch(plan, fileSystem, {}, run.get()).states(), true));
    const UndoPlan undo = planUndo(*batches.lastRecord(), fileSystem);
    ASSERT_TRUE(batches.replaceRecord(undo.record));
    run = batches.begin(undo.plan, JournalKind::Undo);
    const BatchItem& moved = undo.plan.items[0];
    std::filesystem::rename(folder.pathOf(moved.original), folder.pathOf(moved.temporary)); // then killed
    TempFolder other;
    other.write("c.jpg");
    const BatchPlan otherPlan = planBatch(other.path(), {"c.jpg"}, "y", fileSystem);
    auto otherRun = batches.begin(otherPlan); // killed before a move
    run.reset();
    otherRun.reset();

    messenger.answer(MsgAnswer::No);
    messenger.answer(MsgAnswer::Cancel);
    startUp();
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[0].text, QStringLiteral("「%1」での「元に戻す」は途中で終わりました.\r\n\r\n「元に戻す」の前のファイル名に戻しますか？")
                                             .arg(folder.path().c_str()));
    EXPECT_TRUE(messenger.shown()[1].text.startsWith(QStringLiteral("「%1」での").arg(other.path().c_str())));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.jpg", "b.jpg"})) << "the undo finished";
    EXPECT_FALSE(batches.hasRecord());
    EXPECT_EQ(batches.pending().size(), 1u) << "the other run waits";
}

TEST_F(UndoTest, AJournalThatCannotBeWrittenIsToldWithItsFolderAndWhy)
{
    folder.writeAll({"a.jpg"});
    stateHome.write("TOLVA", "a file where the state folder belongs");
    journal = &batches;
    start(QStringLiteral("1"), QStringLiteral("*.jpg"));
    base().setText(QStringLiteral("x"));
    messenger.answer(MsgAnswer::Ok);
    press("cmdOK");
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("変換の記録を書き込めませんでした.\r\n\r\n「%1」に書き込めません（フォルダーの代わりにファイルがあります）.\r\n\r\nファイル名変換を中止します")
                  .arg(QString::fromStdString(stateHome.pathOf("TOLVA"))));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.jpg"});
}

TEST_F(UndoTest, AJournalWhoseFolderIsGoneIsToldAndKept)
{
    folder.write("a.jpg");
    const BatchPlan plan = planBatch(folder.path(), {"a.jpg"}, "", fileSystem);
    ASSERT_TRUE(batches.begin(plan));
    std::filesystem::rename(folder.path(), folder.path() + "-away");
    startUp();
    std::filesystem::rename(folder.path() + "-away", folder.path());
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown()[0].text.contains(QStringLiteral("が見つかりません")));
    EXPECT_EQ(batches.pending().size(), 1u);
}

// Used to forget the run: the card was taken out while the question was open.
TEST_F(UndoTest, ACardTakenOutDuringTheQuestionKeepsTheJournal)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    const BatchPlan plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, "b", fileSystem);
    ASSERT_TRUE(batches.begin(plan));
    std::filesystem::rename(folder.pathOf("a.jpg"), folder.pathOf(plan.items[0].temporary)); // then killed
    QStringList shown;
    StartupRecovery(batches, fileSystem, [&](const MessageRequest& box) {
        shown.append(box.text);
        if (box.buttons == MsgButtons::YesNoCancel)
            std::filesystem::rename(folder.path(), folder.path() + "-away");
        return MsgAnswer::Yes;
    }).run();
    std::filesystem::rename(folder.path() + "-away", folder.path());
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].contains(QStringLiteral("が見つかりません")));
    EXPECT_EQ(batches.pending().size(), 1u);
}

// Used to drop the journal after a recovery that moved nothing: the card's
// write-protect switch was on, and the files stayed under temporary names.
TEST_F(UndoTest, ARecoveryOnAWriteProtectedCardKeepsItsJournalAndAsksAgain)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a read-only mount needs root";
    TestVolume card(TestVolume::Kind::SmallTmpfs, {}, 1 << 20);
    ASSERT_TRUE(card.mounted());
    for (const char* name : {"a.jpg", "b.jpg"})
        std::ofstream(card.path() + "/" + name) << name;
    const BatchPlan plan = planBatch(card.path(), {"a.jpg", "b.jpg"}, "b", fileSystem);
    ASSERT_TRUE(batches.begin(plan));
    std::filesystem::rename(card.path() + "/a.jpg", card.path() + "/" + plan.items[0].temporary); // then killed
    ASSERT_TRUE(card.setReadOnly(true));

    messenger.answer(MsgAnswer::Yes);
    startUp();
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              QStringLiteral("「%1」のファイル名の変更を終えられませんでした（書き込みが許可されていないか、"
                             "読み取り専用です）.\r\n\r\n次回の起動時にもう一度お尋ねします")
                  .arg(card.path().c_str()));
    EXPECT_EQ(batches.pending().size(), 1u);

    ASSERT_TRUE(card.setReadOnly(false));
    messenger.answer(MsgAnswer::Yes);
    startUp();
    EXPECT_EQ(contentsOf(card.path()), (Contents{{"a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}}));
    EXPECT_TRUE(batches.pending().empty());
}

} // namespace
} // namespace zanto::test
