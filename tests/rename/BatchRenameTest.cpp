#include "rename/BatchRename.h"
#include "rename/BatchTexts.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace zanto::test {
namespace {

using Call = FaultyFileSystem::Call;

// 0.32 draws the number 17: Int(0.32 * 50) + 1.
constexpr double kDraw17 = 0.32;

class BatchRename : public ::testing::Test {
protected:
    // The whole command after the confirmation, with no file expected missing.
    BatchReport run(std::vector<std::string> entries, const std::string& base)
    {
        const CheckResult checked = checkPass(
            folder.path(), entries, fs,
            [](const std::string& entry) {
                ADD_FAILURE() << "asked about " << entry;
                return false;
            },
            {});
        EXPECT_EQ(checked, CheckResult::Done);
        plan = planBatch(folder.path(), entries, base, fs, fixedRandom({kDraw17}));
        EXPECT_EQ(plan.status, PlanStatus::Ready);
        return applyBatch(plan, fs, {});
    }

    TempFolder folder;
    FaultyFileSystem fs;
    BatchPlan plan;
};

std::vector<std::string> numbered(std::size_t count, const std::string& extension = ".jpg")
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i)
        names.push_back("img" + std::to_string(i) + extension);
    return names;
}

struct NumberingCase {
    const char* family;
    std::size_t count;
    const char* base;
    const char* first;
    const char* last;
};

class Numbering : public BatchRename, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(Numbering, ZeroFillsToTheDigitsOfTheCount)
{
    const auto& param = GetParam();
    const auto entries = numbered(param.count);
    folder.writeAll(entries);
    folder.write("unrelated.txt");
    const Contents before = folder.contents();

    const BatchReport report = run(entries, param.base);

    EXPECT_FALSE(report.stopped());
    EXPECT_TRUE(report.unfinished().empty());
    std::map<std::string, std::string> moves;
    for (std::size_t i = 0; i < entries.size(); ++i)
        moves[entries[i]] = plan.items[i].final;
    EXPECT_EQ(plan.items.front().final, param.first);
    EXPECT_EQ(plan.items.back().final, param.last);
    EXPECT_EQ(folder.contents(), movedContents(before, moves));
}

INSTANTIATE_TEST_SUITE_P(Families, Numbering,
                         ::testing::Values(NumberingCase{"digits_one", 1, "旅行", "旅行1.jpg", "旅行1.jpg"},
                                           NumberingCase{"digits_nine", 9, "旅行", "旅行1.jpg", "旅行9.jpg"},
                                           NumberingCase{"digits_twelve", 12, "旅行", "旅行01.jpg", "旅行12.jpg"},
                                           NumberingCase{"digits_hundred", 100, "旅行", "旅行001.jpg", "旅行100.jpg"},
                                           NumberingCase{"base_empty", 3, "", "1.jpg", "3.jpg"},
                                           NumberingCase{"base_two_blanks", 2, "  ", "  1.jpg", "  2.jpg"}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(BatchRename, EachFileKeepsItsOwnExtensionAsWritten)
{
    const std::vector<std::string> entries{"c.jpg", "a.png", "b", "IMG.JPG", "doc.jpeg", "x.tar.gz", "README", "end."};
    folder.writeAll(entries);
    const Contents before = folder.contents();

    run(entries, "");

    EXPECT_EQ(folder.contents(), movedContents(before, {{"c.jpg", "1.jpg"},
                                                        {"a.png", "2.png"},
                                                        {"b", "3"},
                                                        {"IMG.JPG", "4.JPG"},
                                                        {"doc.jpeg", "5.jpeg"},
                                                        {"x.tar.gz", "6.gz"},
                                                        {"README", "7"},
                                                        {"end.", "8"}}));
}

TEST_F(BatchRename, NumbersFollowTheUsersOrder)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    const Contents before = folder.contents();

    run({"c.jpg", "a.jpg", "b.jpg"}, "x");

    EXPECT_EQ(folder.contents(), movedContents(before, {{"c.jpg", "x1.jpg"}, {"a.jpg", "x2.jpg"}, {"b.jpg", "x3.jpg"}}));
}

TEST_F(BatchRename, TwoFilesExchangeTheirNames)
{
    folder.writeAll({"1.jpg", "2.jpg"});
    const Contents before = folder.contents();

    run({"2.jpg", "1.jpg"}, "");

    EXPECT_EQ(folder.contents(), movedContents(before, {{"2.jpg", "1.jpg"}, {"1.jpg", "2.jpg"}}));
}

TEST_F(BatchRename, AFinalNameHeldOutsideTheListLeavesThatFileUnderItsTemporaryName)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "2.jpg"});
    const Contents before = folder.contents();

    const BatchReport report = run({"a.jpg", "b.jpg", "c.jpg"}, "");

    EXPECT_FALSE(report.stopped());
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a.jpg", "1.jpg"}, {"b.jpg", "連番17変換失敗1.jpg"}, {"c.jpg", "3.jpg"}}));
    ASSERT_EQ(report.unfinished(), std::vector<std::size_t>{1});
    EXPECT_EQ(notRenamedText(1, report.currentNames(plan, report.unfinished(), NOTICE_NAME_LIMIT)),
              "1個のファイルは新しい名前に変換できませんでした.\r\n\r\n「連番17変換失敗1.jpg」");
}

TEST_F(BatchRename, AFileGoneAfterTheCheckKeepsItsNumberEmptyAndTheRunGoesOn)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    fs.before(Call::Rename, 1, [&] { std::filesystem::remove(folder.pathOf("b.jpg")); });
    Contents before = folder.contents();
    before.erase("b.jpg");

    const BatchReport report = run({"a.jpg", "b.jpg", "c.jpg"}, "");

    EXPECT_FALSE(report.stopped());
    EXPECT_EQ(report.state(1), EntryState::Missing);
    EXPECT_EQ(report.unfinished(), std::vector<std::size_t>{1});
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a.jpg", "1.jpg"}, {"c.jpg", "3.jpg"}}));
}

TEST_F(BatchRename, ATemporaryNameTakenAfterPlanningLeavesThatFileUnderItsOldName)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    fs.before(Call::Rename, 2, [&] { folder.write("連番17変換失敗1.jpg", "newcomer"); });

    const BatchReport report = run({"a.jpg", "b.jpg"}, "");

    EXPECT_EQ(report.state(1), EntryState::Original);
    EXPECT_EQ(report.currentNames(plan, report.unfinished(), 5), std::vector<std::string>{"b.jpg"});
    EXPECT_EQ(folder.contents(), (Contents{{"1.jpg", "content of a.jpg"},
                                           {"b.jpg", "content of b.jpg"},
                                           {"連番17変換失敗1.jpg", "newcomer"}}));
}

TEST_F(BatchRename, ProgressCountsPositionsThenRemainingEntries)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg"});
    std::vector<std::string> entries{"a.jpg", "b.jpg", "c.jpg"};
    std::vector<std::string> captions;
    checkPass(folder.path(), entries, fs, [](const std::string&) { return false; },
              [&](std::size_t i) { captions.push_back(checkCaption(i)); });
    plan = planBatch(folder.path(), entries, "", fs, fixedRandom({kDraw17}));
    applyBatch(plan, fs, [&](BatchPhase phase, std::size_t number) {
        captions.push_back(phase == BatchPhase::ToTemporary ? readingCaption(folder.path(), number)
                                                            : convertingCaption(number));
    });

    EXPECT_EQ(captions, (std::vector<std::string>{"ファイルチェック中--残り2個", "ファイルチェック中--残り1個",
                                                  "ファイルチェック中--残り0個", "ファイル読み取り中0個",
                                                  "ファイル読み取り中1個", "ファイル読み取り中2個", "変換中--残り2個",
                                                  "変換中--残り1個", "変換中--残り0個"}));
}

// The check pass.

TEST_F(BatchRename, AMissingFileIsDroppedAndTheOthersAreNumberedWithoutAGap)
{
    folder.writeAll({"a.jpg", "c.jpg", "d.jpg"});
    const Contents before = folder.contents();
    std::vector<std::string> entries{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
    std::vector<std::string> asked;

    const CheckResult checked = checkPass(folder.path(), entries, fs,
                                          [&](const std::string& entry) {
                                              asked.push_back(entry);
                                              return true;
                                          },
                                          {});
    plan = planBatch(folder.path(), entries, "", fs, fixedRandom({kDraw17}));
    applyBatch(plan, fs);

    EXPECT_EQ(checked, CheckResult::Done);
    EXPECT_EQ(asked, std::vector<std::string>{"b.jpg"});
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a.jpg", "1.jpg"}, {"c.jpg", "2.jpg"}, {"d.jpg", "3.jpg"}}));
}

TEST_F(BatchRename, QuestionsComeLastEntryFirstAndCancelKeepsEarlierDrops)
{
    folder.writeAll({"a.jpg", "c.jpg"});
    const Contents before = folder.contents();
    std::vector<std::string> entries{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
    std::vector<std::string> asked;
    std::vector<std::size_t> positions;

    const CheckResult checked = checkPass(folder.path(), entries, fs,
                                          [&](const std::string& entry) {
                                              asked.push_back(entry);
                                              return asked.size() == 1; // OK for the first, then Cancel
                                          },
                                          [&](std::size_t i) { positions.push_back(i); });

    EXPECT_EQ(checked, CheckResult::Cancelled);
    EXPECT_EQ(asked, (std::vector<std::string>{"d.jpg", "b.jpg"}));
    EXPECT_EQ(positions, (std::vector<std::size_t>{3, 2}));
    EXPECT_EQ(entries, (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(fs.calls(Call::Rename), 0u);
    EXPECT_EQ(folder.contents(), before);
}

TEST_F(BatchRename, FoldersAndFifosDoNotPassTheCheck)
{
    folder.write("a.jpg");
    folder.makeSubfolder("dir.jpg");
    ASSERT_EQ(::mkfifo(folder.pathOf("pipe.jpg").c_str(), 0600), 0);
    std::vector<std::string> entries{"a.jpg", "dir.jpg", "pipe.jpg"};
    std::vector<std::string> asked;

    checkPass(folder.path(), entries, fs,
              [&](const std::string& entry) {
                  asked.push_back(entry);
                  return true;
              },
              {});

    EXPECT_EQ(asked, (std::vector<std::string>{"pipe.jpg", "dir.jpg"}));
    EXPECT_EQ(entries, std::vector<std::string>{"a.jpg"});
}

// The temporary names.

struct DrawCase {
    const char* family;
    double r;
    const char* prefix;
};

class PrefixDraw : public BatchRename, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(PrefixDraw, TakesOneToFiftyFromTheRandomNumber)
{
    folder.write("a.jpg");
    plan = planBatch(folder.path(), {"a.jpg"}, "", fs, fixedRandom({GetParam().r}));
    EXPECT_EQ(plan.prefix, GetParam().prefix);
    EXPECT_EQ(plan.items[0].temporary, std::string(GetParam().prefix) + "0.jpg");
}

INSTANTIATE_TEST_SUITE_P(Families, PrefixDraw,
                         ::testing::Values(DrawCase{"lowest", 0.0, "連番1変換失敗"},
                                           DrawCase{"step", 0.02, "連番2変換失敗"},
                                           DrawCase{"middle", kDraw17, "連番17変換失敗"},
                                           DrawCase{"highest", 0.9999, "連番50変換失敗"}),
                         [](const auto& info) { return std::string(info.param.family); });

TEST_F(BatchRename, TemporaryNamesAvoidFilesOnDiskInAnyCase)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    folder.write("連番17変換失敗1.JPG", "bystander");
    const Contents before = folder.contents();
    std::vector<std::string> entries{"a.jpg", "b.jpg"};

    plan = planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17, 0.0}));
    applyBatch(plan, fs);

    EXPECT_EQ(plan.prefix, "連番1変換失敗");
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a.jpg", "x1.jpg"}, {"b.jpg", "x2.jpg"}}));
}

TEST_F(BatchRename, TemporaryNamesAvoidTheFinalNamesOfTheRun)
{
    // With this base the final name of the first entry is the temporary name
    // of the second under the prefix number 17.
    folder.writeAll({"a.jpg", "b.jpg"});
    const Contents before = folder.contents();

    plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, "連番17変換失敗", fs, fixedRandom({kDraw17, 0.0}));
    const BatchReport report = applyBatch(plan, fs);

    EXPECT_EQ(plan.prefix, "連番1変換失敗");
    EXPECT_TRUE(report.unfinished().empty());
    EXPECT_EQ(folder.contents(),
              movedContents(before, {{"a.jpg", "連番17変換失敗1.jpg"}, {"b.jpg", "連番17変換失敗2.jpg"}}));
}

TEST_F(BatchRename, TheDrawEndsWhenEveryShortPrefixIsTaken)
{
    folder.write("a.jpg");
    for (int number = 1; number <= 51; ++number)
        folder.write("連番" + std::to_string(number) + "変換失敗0.jpg");

    plan = planBatch(folder.path(), {"a.jpg"}, "", fs, fixedRandom({0.0}));

    EXPECT_EQ(plan.status, PlanStatus::Ready);
    EXPECT_EQ(plan.prefix, "連番52変換失敗");
}

TEST_F(BatchRename, TemporaryNamesAvoidTheEntriesThemselves)
{
    const std::vector<std::string> entries{"連番17変換失敗1.jpg", "b.jpg"};
    folder.writeAll(entries);

    plan = planBatch(folder.path(), entries, "", fs, fixedRandom({kDraw17, 0.5}));

    EXPECT_EQ(plan.prefix, "連番26変換失敗");
}

// Name length.

TEST_F(BatchRename, ANameTooLongForTheFolderRefusesTheWholeRun)
{
    // 100 Japanese characters are 300 bytes, more than ext4's 255.
    std::string base;
    for (int i = 0; i < 100; ++i)
        base += "旅";
    folder.writeAll({"a.jpg", "b.jpg"});
    const Contents before = folder.contents();

    plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, base, fs, fixedRandom({kDraw17}));
    const BatchReport report = applyBatch(plan, fs);

    EXPECT_EQ(plan.status, PlanStatus::NameTooLong);
    EXPECT_EQ(plan.tooLongName, base + "1.jpg");
    EXPECT_EQ(nameTooLongText("x1.jpg"), "「x1.jpg」は長すぎてファイル名にできません.\r\n\r\nファイル名変換を中止します");
    EXPECT_TRUE(report.stopped());
    EXPECT_EQ(fs.calls(Call::Rename), 0u);
    EXPECT_EQ(folder.contents(), before);
}

TEST_F(BatchRename, TheLengthLimitCountsBytesOfEveryNewNameUpToTheLimit)
{
    folder.writeAll({"a.jpg", "b.jpegxx"});
    const std::vector<std::string> entries{"a.jpg", "b.jpegxx"};
    // Longest names: final "x2.jpegxx" (9 bytes), temporary "連番17変換失敗1.jpegxx" (28 bytes).
    fs.setMaxNameLength(28);
    EXPECT_EQ(planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17})).status, PlanStatus::Ready);

    fs.setMaxNameLength(27);
    plan = planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17}));
    EXPECT_EQ(plan.status, PlanStatus::NameTooLong);
    EXPECT_EQ(plan.tooLongName, "連番17変換失敗1.jpegxx");
}

TEST_F(BatchRename, AnUnreadableFolderRefusesTheRun)
{
    plan = planBatch(folder.pathOf("gone"), {"a.jpg"}, "", fs, fixedRandom({kDraw17}));
    EXPECT_EQ(plan.status, PlanStatus::FolderUnreadable);
    EXPECT_EQ(plan.listError, FsError::PathNotFound);
}

TEST_F(BatchRename, PlansAHundredThousandEntriesWithoutSixteenBitLimits)
{
    const auto entries = numbered(100'000);

    plan = planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17}));

    ASSERT_EQ(plan.items.size(), 100'000u);
    EXPECT_EQ(plan.items[0].final, "x000001.jpg");
    EXPECT_EQ(plan.items[32'767].final, "x032768.jpg");
    EXPECT_EQ(plan.items[32'768].temporary, "連番17変換失敗032768.jpg");
    EXPECT_EQ(plan.items[99'999].final, "x100000.jpg");
}

// A stop: every file goes back to its old name.

struct StopCase {
    const char* family;
    std::size_t failingRename; // 1-based; renames 1-3 are the first pass, 4-6 the second
    FsError error;
};

class StopAndRollBack : public BatchRename, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopAndRollBack, GivesEveryFileItsOldNameBack)
{
    folder.writeAll({"1.jpg", "2.jpg", "3.jpg", "other.txt"});
    const Contents before = folder.contents();
    fs.failRename(GetParam().failingRename, GetParam().error);
    std::vector<std::pair<BatchPhase, std::size_t>> steps;

    plan = planBatch(folder.path(), {"2.jpg", "1.jpg", "3.jpg"}, "", fs, fixedRandom({kDraw17}));
    const BatchReport report =
        applyBatch(plan, fs, [&](BatchPhase phase, std::size_t number) { steps.emplace_back(phase, number); });

    EXPECT_TRUE(report.stopped());
    EXPECT_EQ(report.error(), GetParam().error);
    EXPECT_EQ(report.stoppedAt(), (GetParam().failingRename - 1) % 3);
    EXPECT_TRUE(report.unrestored().empty());
    EXPECT_EQ(report.unfinished().size(), 3u);
    EXPECT_EQ(folder.contents(), before);
    if (GetParam().failingRename > 1) {
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.back(), std::make_pair(BatchPhase::Restoring, std::size_t{0}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, StopAndRollBack,
    ::testing::Values(StopCase{"first_pass_first_file", 1, FsError::PathFileAccess},
                      StopCase{"first_pass_last_file", 3, FsError::Other},
                      StopCase{"second_pass_first_file", 4, FsError::DiskNotReady},
                      StopCase{"second_pass_swap_half_done", 5, FsError::PathFileAccess},
                      StopCase{"second_pass_last_file", 6, FsError::DeviceUnavailable}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(BatchRename, AFileThatCannotGetItsNameBackIsReported)
{
    folder.writeAll({"a.jpg", "b.jpg"});
    fs.failRename(3, FsError::PathFileAccess);
    // Rename 4 puts b.jpg back; before rename 5 another program takes a.jpg.
    fs.before(Call::Rename, 5, [&] { folder.write("a.jpg", "intruder"); });

    plan = planBatch(folder.path(), {"a.jpg", "b.jpg"}, "", fs, fixedRandom({kDraw17}));
    const BatchReport report = applyBatch(plan, fs);

    EXPECT_TRUE(report.stopped());
    ASSERT_EQ(report.unrestored(), std::vector<std::size_t>{0});
    const auto names = report.currentNames(plan, report.unrestored(), NOTICE_NAME_LIMIT);
    EXPECT_EQ(notRestoredText(1, names), "1個のファイルを元の名前に戻せませんでした.\r\n\r\n「連番17変換失敗0.jpg」");
    EXPECT_EQ(folder.contents(), (Contents{{"a.jpg", "intruder"},
                                           {"b.jpg", "content of b.jpg"},
                                           {"連番17変換失敗0.jpg", "content of a.jpg"}}));
}

} // namespace
} // namespace zanto::test
