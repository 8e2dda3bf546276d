#include "rename/BatchRename.h"
#include "rename/BatchTexts.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

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

// Each entry gets its number in the user's order and keeps its own extension as written.
struct MappingCase {
    const char* family;
    std::vector<std::string> entries;
    const char* base;
    std::vector<std::string> finals;
};

class Mapping : public BatchRename, public ::testing::WithParamInterface<MappingCase> {};

TEST_P(Mapping, GivesEachEntryItsNewName)
{
    const auto& p = GetParam();
    folder.writeAll(p.entries);
    folder.write("unrelated.txt");
    const Contents before = folder.contents();

    const BatchReport report = run(p.entries, p.base);

    EXPECT_TRUE(report.unfinished().empty());
    std::map<std::string, std::string> moves;
    for (std::size_t i = 0; i < p.entries.size(); ++i)
        moves[p.entries[i]] = p.finals[i];
    EXPECT_EQ(folder.contents(), movedContents(before, moves));
}

INSTANTIATE_TEST_SUITE_P(
    Families, Mapping,
    ::testing::Values(MappingCase{"own_extensions",
                                  {"c.jpg", "a.png", "b", "IMG.JPG", "doc.jpeg", "x.tar.gz", "README", "end."},
                                  "",
                                  {"1.jpg", "2.png", "3", "4.JPG", "5.jpeg", "6.gz", "7", "8"}},
                      MappingCase{"users_order", {"c.jpg", "a.jpg", "b.jpg"}, "x", {"x1.jpg", "x2.jpg", "x3.jpg"}},
                      MappingCase{"exchange", {"2.jpg", "1.jpg"}, "", {"1.jpg", "2.jpg"}}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(BatchRename, AFinalNameHeldOutsideTheListLeavesThatFileUnderItsTemporaryName)
{
    folder.writeAll({"a.jpg", "b.jpg", "c.jpg", "2.jpg"});
    const Contents before = folder.contents();

    const BatchReport report = run({"a.jpg", "b.jpg", "c.jpg"}, "");

    EXPECT_FALSE(report.stopped());
    EXPECT_EQ(folder.contents(), movedContents(before, {{"a.jpg", "1.jpg"}, {"b.jpg", "連番17変換失敗1.jpg"}, {"c.jpg", "3.jpg"}}));
    EXPECT_EQ(report.unfinished(), std::vector<std::size_t>{1});
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

// The first draw (17) would clash; the second draw is taken.
struct AvoidCase {
    const char* family;
    std::vector<std::string> entries;
    const char* bystander; // another file in the folder, or none
    const char* base;
    double secondDraw;
    const char* prefix;
    std::vector<std::string> finals;
};

class TemporaryNames : public BatchRename, public ::testing::WithParamInterface<AvoidCase> {};

TEST_P(TemporaryNames, AvoidEveryNameInUse)
{
    const auto& p = GetParam();
    folder.writeAll(p.entries);
    if (p.bystander != nullptr)
        folder.write(p.bystander, "bystander");
    const Contents before = folder.contents();

    plan = planBatch(folder.path(), p.entries, p.base, fs, fixedRandom({kDraw17, p.secondDraw}));
    const BatchReport report = applyBatch(plan, fs);

    EXPECT_EQ(plan.prefix, p.prefix);
    EXPECT_TRUE(report.unfinished().empty());
    std::map<std::string, std::string> moves;
    for (std::size_t i = 0; i < p.entries.size(); ++i)
        moves[p.entries[i]] = p.finals[i];
    EXPECT_EQ(folder.contents(), movedContents(before, moves));
}

INSTANTIATE_TEST_SUITE_P(
    Families, TemporaryNames,
    ::testing::Values(AvoidCase{"file_on_disk_in_another_case", {"a.jpg", "b.jpg"}, "連番17変換失敗1.JPG", "x", 0.0,
                                "連番1変換失敗", {"x1.jpg", "x2.jpg"}},
                      // The final name of the first entry is the temporary name of the second under 17.
                      AvoidCase{"final_names_of_the_run", {"a.jpg", "b.jpg"}, nullptr, "連番17変換失敗", 0.0,
                                "連番1変換失敗", {"連番17変換失敗1.jpg", "連番17変換失敗2.jpg"}},
                      AvoidCase{"the_entries", {"連番17変換失敗1.jpg", "b.jpg"}, nullptr, "", 0.5, "連番26変換失敗",
                                {"1.jpg", "2.jpg"}}),
    [](const auto& info) { return std::string(info.param.family); });

TEST_F(BatchRename, TheDrawEndsWhenEveryShortPrefixIsTaken)
{
    folder.write("a.jpg");
    for (int number = 1; number <= 51; ++number)
        folder.write("連番" + std::to_string(number) + "変換失敗0.jpg");

    plan = planBatch(folder.path(), {"a.jpg"}, "", fs, fixedRandom({0.0}));

    EXPECT_EQ(plan.status, PlanStatus::Ready);
    EXPECT_EQ(plan.prefix, "連番52変換失敗");
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

} // namespace
} // namespace zanto::test
