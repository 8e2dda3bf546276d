#include "rename/BatchRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace zanto::test {
namespace {


class BatchRename : public ::testing::Test {
protected:
    TempFolder folder;
    FaultyFileSystem fs;
    BatchPlan plan;
};

std::vector<std::string> numbered(std::size_t count, const std::string& prefix)
{
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= count; ++i)
        names.push_back(prefix + std::to_string(i) + ".jpg");
    return names;
}

struct RunCase {
    const char* family;
    std::vector<std::string> entries;
    const char* base;
    std::vector<std::string> finals;
    const char* bystander = nullptr; // another file in the folder
    double secondDraw = 0.0;
    const char* prefix = "連番17変換失敗";
};

// Each entry gets its number in the user's order, zero-filled to the digits
// of the count, and keeps its own extension as written. The temporary prefix
// must not collide with any name of the folder (in any letter case) nor with
// a new name of the run: the first draw (17) clashes there, the second is taken.
TEST(BatchRun, GivesEachEntryItsNewNameAndTouchesNothingElse)
{
    const RunCase rows[] = {
        {"own_extensions", {"c.jpg", "a.png", "b", "IMG.JPG", "x.tar.gz", "end."}, "",
         {"1.jpg", "2.png", "3", "4.JPG", "5.gz", "6"}},
        {"users_order", {"c.jpg", "a.jpg", "b.jpg"}, "x", {"x1.jpg", "x2.jpg", "x3.jpg"}},
        {"exchange", {"2.jpg", "1.jpg"}, "", {"1.jpg", "2.jpg"}},
        {"zero_fill_nine", numbered(9, "i"), "旅行", numbered(9, "旅行")},
        {"zero_fill_ten", numbered(10, "i"), "旅行",
         {"旅行01.jpg", "旅行02.jpg", "旅行03.jpg", "旅行04.jpg", "旅行05.jpg", "旅行06.jpg", "旅行07.jpg", "旅行08.jpg",
          "旅行09.jpg", "旅行10.jpg"}},
        {"base_two_blanks", {"a.jpg", "b.jpg"}, "  ", {"  1.jpg", "  2.jpg"}},
        {"temporary_in_another_case", {"a.jpg", "b.jpg"}, "x", {"x1.jpg", "x2.jpg"}, "連番17変換失敗1.JPG", 0.0,
         "連番1変換失敗"},
        {"temporary_is_a_final_name", {"a.jpg", "b.jpg"}, "連番17変換失敗", {"連番17変換失敗1.jpg", "連番17変換失敗2.jpg"},
         nullptr, 0.0, "連番1変換失敗"},
        {"temporary_is_an_entry", {"連番17変換失敗1.jpg", "b.jpg"}, "", {"1.jpg", "2.jpg"}, nullptr, 0.9999,
         "連番50変換失敗"},
    };
    for (const RunCase& row : rows) {
        SCOPED_TRACE(row.family);
        TempFolder folder;
        FaultyFileSystem fs;
        folder.writeAll(row.entries);
        folder.write(row.bystander != nullptr ? row.bystander : "unrelated.txt", "bystander");
        const Contents before = folder.contents();
        const BatchPlan plan = planBatch(folder.path(), row.entries, row.base, fs, fixedRandom({kDraw17, row.secondDraw}));
        ASSERT_EQ(plan.status, PlanStatus::Ready);
        EXPECT_EQ(plan.prefix, row.prefix);
        EXPECT_TRUE(applyBatch(plan, fs).unfinished().empty());
        std::map<std::string, std::string> moves;
        for (std::size_t i = 0; i < row.entries.size(); ++i)
            moves[row.entries[i]] = row.finals[i];
        EXPECT_EQ(folder.contents(), movedContents(before, moves));
    }
}

// Bytes of every new name count, temporary names included, up to the limit.
TEST_F(BatchRename, ANameTooLongRefusesTheWholeRunBeforeAnythingMoves)
{
    folder.writeAll({"a.jpg", "b.jpegxx"});
    const std::vector<std::string> entries{"a.jpg", "b.jpegxx"};
    fs.setMaxNameLength(28); // longest: 連番17変換失敗1.jpegxx
    EXPECT_EQ(planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17})).status, PlanStatus::Ready);

    fs.setMaxNameLength(27);
    const Contents before = folder.contents();
    plan = planBatch(folder.path(), entries, "x", fs, fixedRandom({kDraw17}));
    EXPECT_EQ(plan.status, PlanStatus::NameTooLong);
    EXPECT_EQ(plan.tooLongName, "連番17変換失敗1.jpegxx");
    EXPECT_TRUE(applyBatch(plan, fs).stopped());
    EXPECT_EQ(fs.renameCalls(), 0u);
    EXPECT_EQ(folder.contents(), before);
}

} // namespace
} // namespace zanto::test

namespace zanto::test {
namespace {

// "e" and a combining acute as one "é", the form a Mac writes beside the one typed here.
std::string composedE(const std::string& name)
{
    std::string key = name;
    for (std::size_t at; (at = key.find("e\xcc\x81")) != std::string::npos;)
        key.replace(at, 3, "\xc3\xa9");
    return key;
}

// A shot takes one number; each file keeps its whole tail of extensions; no
// two files of a run get one new name, in any letter case or Unicode form.
TEST(Shots, OneNumberPerShotOrNoneAtAll)
{
    const std::vector<std::string> card{"IMG_0412.CR2", "IMG_0412.JPG", "IMG_0412.XMP",     "IMG_0413.CR2",
                                        "IMG_0413.JPG", "IMG_0413.CR2.xmp", "IMG_0414.JPG", "notes.txt",
                                        "IMG_0412 copy.JPG", "IMG_0414.backup7", "IMG_0414.thumb"};
    const std::vector<std::string> listed{"IMG_0412.JPG", "IMG_0413.JPG", "IMG_0414.JPG"}; // filter *.jpg
    const struct {
        const char* family;
        std::vector<std::string> entries;
        std::vector<std::string> extra; // files besides the card
        bool shots;
        std::map<std::string, std::string> moves;
        std::vector<std::string> left;
        NameKey key = {};
    } cases[] = {
        {"raw+jpeg+sidecars, hidden members",
         listed,
         {},
         true,
         {{"IMG_0412.CR2", "t1.CR2"}, {"IMG_0412.JPG", "t1.JPG"}, {"IMG_0412.XMP", "t1.XMP"},
          {"IMG_0413.CR2", "t2.CR2"}, {"IMG_0413.JPG", "t2.JPG"}, {"IMG_0413.CR2.xmp", "t2.CR2.xmp"},
          {"IMG_0414.JPG", "t3.JPG"}, {"IMG_0414.thumb", "t3.thumb"}},
         {}},
        {"the item off", listed, {}, false,
         {{"IMG_0412.JPG", "t1.JPG"}, {"IMG_0413.JPG", "t2.JPG"}, {"IMG_0414.JPG", "t3.JPG"}}, {}},
        {"a blocked shot stays whole", listed, {"t2.CR2.xmp"}, true,
         {{"IMG_0412.CR2", "t1.CR2"}, {"IMG_0412.JPG", "t1.JPG"}, {"IMG_0412.XMP", "t1.XMP"},
          {"IMG_0414.JPG", "t3.JPG"}, {"IMG_0414.thumb", "t3.thumb"}},
         {"IMG_0413.JPG"}},
        {"two listed members, any case, no case twins", {"IMG_0413.cr2", "img_0414.jpg", "IMG_0413.JPG"},
         {"IMG_0413.cr2", "img_0414.jpg"}, true,
         {{"IMG_0413.cr2", "t1.cr2"}, {"IMG_0413.JPG", "t1.JPG"}, {"IMG_0413.CR2.xmp", "t1.CR2.xmp"},
          {"img_0414.jpg", "t2.jpg"}, {"IMG_0414.thumb", "t2.thumb"}},
         {}},
        {"a listed sidecar goes with its RAW", {"IMG_0413.CR2.xmp", "IMG_0413.CR2", "IMG_0414.JPG"}, {}, true,
         {{"IMG_0413.CR2", "t1.CR2"}, {"IMG_0413.CR2.xmp", "t1.CR2.xmp"}, {"IMG_0413.JPG", "t1.JPG"},
          {"IMG_0414.JPG", "t2.JPG"}, {"IMG_0414.thumb", "t2.thumb"}},
         {}},
        {"a sidecar of a whole name", {"IMG_0414.backup7"}, {"IMG_0414.backup7.xmp"}, true,
         {{"IMG_0414.backup7", "t1.backup7"}, {"IMG_0414.backup7.xmp", "t1.backup7.xmp"},
          {"IMG_0414.JPG", "t1.JPG"}, {"IMG_0414.thumb", "t1.thumb"}},
         {}},
        {"listed case twins, a shot each", {"IMG_0414.JPG", "img_0414.JPG"}, {"img_0414.JPG", "img_0414.thm"}, true,
         {{"IMG_0414.JPG", "t1.JPG"}, {"IMG_0414.thumb", "t1.thumb"}, {"img_0414.JPG", "t2.JPG"},
          {"img_0414.thm", "t2.thm"}},
         {}},
        {"a shot left whole keeps the name another shot wanted", {"t2.JPG", "IMG_0414.JPG"}, {"t1.jpg", "t2.JPG"},
         true, {}, {"t2.JPG", "IMG_0414.JPG"}},
        {"twins in another Unicode form", {"IMG_0414.JPG", "IMG_0414.\xc3\xa9"}, {"IMG_0414.\xc3\xa9", "IMG_0414.e\xcc\x81"},
         true,
         {{"IMG_0414.JPG", "t1.JPG"}, {"IMG_0414.\xc3\xa9", "t1.\xc3\xa9"}, {"IMG_0414.thumb", "t1.thumb"}},
         {}, composedE},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeAll(card);
        folder.writeAll(c.extra);
        const Contents before = folder.contents();
        FaultyFileSystem fs;
        const BatchPlan plan = planBatch(folder.path(), c.entries, "t", fs, fixedRandom({kDraw17}), {c.shots, c.key});
        EXPECT_EQ(plan.leftOut, c.left) << c.family;
        EXPECT_TRUE(applyBatch(plan, fs).unfinished().empty()) << c.family;
        EXPECT_EQ(folder.contents(), movedContents(before, c.moves)) << c.family;
    }
}

// Companions that phones and cameras name otherwise than by an extension,
// and a Live Photo's still and clip by their identifier.
TEST(Shots, CompanionsTakeTheNumberOfTheirPhotoOrClip)
{
    const struct {
        const char* family;
        std::vector<std::string> files;   // besides the entries
        std::vector<std::string> entries; // as listed
        std::map<std::string, std::string> moves;
        ShotLinks links = {};
    } cases[] = {
        {"iphone_edit_and_adjustments", {"IMG_O1234.AAE", "IMG_1234.AAE", "IMG_E1234.HEIC"}, {"IMG_1234.HEIC"},
         {{"IMG_1234.HEIC", "t1.HEIC"}, {"IMG_E1234.HEIC", "t1_E.HEIC"}, {"IMG_O1234.AAE", "t1_O.AAE"},
          {"IMG_1234.AAE", "t1.AAE"}}},
        {"takeout_json_whole_and_cut",
         {"IMG_1.JPG.supplemental-metadata.json", "IMG_20190815_123456789_HDR.jpg.supplemental-me.json"},
         {"IMG_1.JPG", "IMG_20190815_123456789_HDR.jpg"},
         {{"IMG_1.JPG", "t1.JPG"}, {"IMG_1.JPG.supplemental-metadata.json", "t1.JPG.supplemental-metadata.json"},
          {"IMG_20190815_123456789_HDR.jpg", "t2.jpg"},
          {"IMG_20190815_123456789_HDR.jpg.supplemental-me.json", "t2.jpg.supplemental-me.json"}}},
        {"gopro_proxy_listed_first", {"GX011234.THM"}, {"GL011234.LRV", "GX011234.MP4"},
         {{"GX011234.MP4", "t1.MP4"}, {"GL011234.LRV", "t1.LRV"}, {"GX011234.THM", "t1.THM"}}},
        {"sony_clip_xml", {"C0001M01.XML"}, {"C0001.MP4", "C0002.MP4"},
         {{"C0001.MP4", "t1.MP4"}, {"C0001M01.XML", "t1M01.XML"}, {"C0002.MP4", "t2.MP4"}}},
        {"live_photo_renamed_apart", {"IMG_0005_HEVC.MOV", "clip.MOV"}, {"IMG_0005.HEIC"},
         {{"IMG_0005.HEIC", "t1.HEIC"}, {"IMG_0005_HEVC.MOV", "t1_HEVC.MOV"}, {"clip.MOV", "t1.MOV"}},
         {{"IMG_0005.HEIC", "A"}, {"IMG_0005_HEVC.MOV", "A"}, {"clip.MOV", "A"}}},
        {"two_phones_one_number", {"IMG_0007.MOV"}, {"IMG_0007.HEIC"}, {{"IMG_0007.HEIC", "t1.HEIC"}},
         {{"IMG_0007.HEIC", "A"}, {"IMG_0007.MOV", "B"}}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.writeAll(c.files);
        folder.writeAll(c.entries);
        const Contents before = folder.contents();
        FaultyFileSystem fs;
        const BatchOptions options{true, {}, {}, std::make_shared<const ShotLinks>(c.links)};
        const BatchPlan plan = planBatch(folder.path(), c.entries, "t", fs, fixedRandom({kDraw17}), options);
        EXPECT_TRUE(applyBatch(plan, fs).unfinished().empty()) << c.family;
        EXPECT_EQ(folder.contents(), movedContents(before, c.moves)) << c.family;
    }
}

// The clashes a run over `entries` tells before anything moves.
std::vector<NameClash> clashesOf(const std::string& folder, const std::vector<std::string>& entries,
                                 const std::string& base, FileSystem& fs, const BatchOptions& options = {})
{
    std::vector<std::string> kept = entries;
    checkPass(folder, kept, fs, [](const std::string&) { return true; }, {});
    return planBatch(folder, kept, base, fs, fixedRandom({kDraw17}), options).clashes;
}

TEST(Shots, ClashesAreFoundBeforeAnythingMoves)
{
    TempFolder folder;
    folder.writeAll({"a.jpg", "b.jpg", "b.xmp", "x2.xmp"});
    FaultyFileSystem fs;
    const std::vector<NameClash> withShots = clashesOf(folder.path(), {"a.jpg", "b.jpg"}, "x", fs, {true});
    ASSERT_EQ(withShots.size(), 1u);
    EXPECT_EQ(withShots[0].original, "b.xmp");
    EXPECT_EQ(withShots[0].final, "x2.xmp");
    EXPECT_TRUE(clashesOf(folder.path(), {"a.jpg", "b.jpg"}, "x", fs).empty());
    EXPECT_EQ(clashesOf(folder.path(), {"b.jpg", "a.jpg"}, "", fs).size(), 0u) << "names the run frees are not taken";
}

// Names one on a card, on Windows or on a Mac clash on every file system.
TEST(Clashes, NamesThatDifferInCaseOrUnicodeFormAreOne)
{
    const struct {
        const char* family;
        const char* outside;
        const char* base;
        const char* final; // empty: no clash
    } rows[] = {
        {"case", "旅行1.jpg", "旅行", "旅行1.JPG"},
        {"unicode form", "cafe\xcc\x81" "1.JPG", "caf\xc3\xa9", "caf\xc3\xa9" "1.JPG"},
        {"both", "cafe\xcc\x81" "1.jpg", "caf\xc3\xa9", "caf\xc3\xa9" "1.JPG"},
        {"another name", "旅行2.jpg", "旅行", ""},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        folder.writeAll({"IMG_1.JPG", row.outside});
        FaultyFileSystem fs;
        const BatchOptions options{false, composedE};
        const std::vector<NameClash> clashes = clashesOf(folder.path(), {"IMG_1.JPG"}, row.base, fs, options);
        if (*row.final == '\0') {
            EXPECT_TRUE(clashes.empty()) << row.family;
            continue;
        }
        ASSERT_EQ(clashes.size(), 1u) << row.family;
        EXPECT_EQ(clashes[0].final, row.final) << row.family;
        // Told and gone on with: the file keeps its name beside the other.
        const Contents before = folder.contents();
        const BatchPlan plan = planBatch(folder.path(), {"IMG_1.JPG"}, row.base, fs, fixedRandom({kDraw17}), options);
        EXPECT_EQ(plan.leftOut, std::vector<std::string>{"IMG_1.JPG"}) << row.family;
        EXPECT_TRUE(applyBatch(plan, fs).unfinished().empty()) << row.family;
        EXPECT_EQ(folder.contents(), before) << row.family;
    }
}

// The clashes are those of the list the run will use: an entry the check
// drops takes no number, and its file, where there is one, keeps its name.
TEST(Shots, ClashesAreThoseOfTheEntriesTheRunKeeps)
{
    const struct {
        const char* family;
        std::vector<std::string> entries;
        std::vector<std::pair<std::string, std::string>> clashes;
        std::vector<std::string> outside = {"t2.jpg"};
    } rows[] = {
        {"a gone entry", {"gone.jpg", "a.jpg", "b.jpg"}, {{"b.jpg", "t2.jpg"}}},
        {"an entry that stays", {"t1.jpg", "a.jpg"}, {{"a.jpg", "t1.jpg"}}},
        // Left out for its case twin, t1.jpg keeps the name a.jpg wanted.
        {"a name an entry left out keeps", {"a.jpg", "t1.jpg"}, {{"a.jpg", "t1.jpg"}, {"t1.jpg", "t2.jpg"}},
         {"t1.jpg", "T2.JPG"}},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        folder.writeAll({"a.jpg", "b.jpg"});
        folder.writeAll(row.outside);
        if (row.entries[0] == "t1.jpg")
            std::filesystem::create_directory(folder.pathOf("t1.jpg")); // listed, cannot be opened
        FaultyFileSystem fs;
        std::vector<std::pair<std::string, std::string>> found;
        for (const NameClash& clash : clashesOf(folder.path(), row.entries, "t", fs))
            found.emplace_back(clash.original, clash.final);
        EXPECT_EQ(found, row.clashes) << row.family;
    }
}

} // namespace
} // namespace zanto::test

namespace zanto::test {
namespace {

// 番号の付け方: the defaults are the program's own names; 「自動」 holds the
// largest number, so that name order is number order.
TEST(Numbering, StartAndWidth)
{
    const struct {
        std::size_t start, minDigits, position, count;
        const char* name;
    } rows[] = {
        {1, 0, 0, 12, "旅行01.jpg"},  {4, 2, 1, 2, "旅行05.jpg"},   {4, 0, 0, 2, "旅行4.jpg"},
        {98, 0, 2, 3, "旅行100.jpg"}, {98, 0, 0, 3, "旅行098.jpg"}, {0, 3, 0, 5, "旅行000.jpg"},
        {8, 0, 0, 5, "旅行08.jpg"},   {8, 0, 4, 5, "旅行12.jpg"},   {95, 0, 0, 10, "旅行095.jpg"},
        {0, 0, 0, 10, "旅行00.jpg"},
    };
    for (const auto& row : rows) {
        const Numbering numbering{row.start, row.minDigits, {}};
        EXPECT_EQ(finalName("旅行", row.position, row.count, "x.jpg", numbering), row.name) << row.name;
    }
}

// A NFD form of "é", as a Mac writes it.
const std::string kCafeNfd = "cafe\xCC\x81";
const std::string kCafeNfc = "caf\xC3\xA9";
TEST(Numbering, TheEndOfASeriesByTheNameKey)
{
    const std::vector<std::string> names{"旅行01.jpg", "旅行03.JPG", "旅行02", "旅行10x.jpg", "旅行.jpg", "旅行007.png",
                                         "他01.jpg", kCafeNfd + "07.jpg", kCafeNfc + "03.jpg"};
    const struct {
        const char* base;
        std::string typed;
        NameKey key;
        std::optional<std::pair<std::size_t, std::size_t>> end;
    } rows[] = {
        {"plain", "旅行", {}, {{7, 3}}},
        {"none", "海", {}, std::nullopt},
        {"nfd on disk, nfc typed", kCafeNfc, composedE, {{7, 2}}},
        {"bytes alone", kCafeNfc, {}, {{3, 2}}},
    };
    for (const auto& row : rows) {
        const auto end = seriesEnd(names, row.typed, row.key);
        ASSERT_EQ(end.has_value(), row.end.has_value()) << row.base;
        if (end) {
            EXPECT_EQ(std::make_pair(end->last, end->digits), *row.end) << row.base;
            EXPECT_EQ(end->base, row.typed) << row.base;
        }
    }
}

// Continuing a series leaves its files as they are: only the others take
// the numbers, one after another from the start.
TEST(Numbering, ContinuingASeriesKeepsItsFiles)
{
    const std::vector<std::string> card{"IMG_1.JPG", "IMG_1.CR2", "旅行01.jpg", "IMG_2.JPG", "旅行02.JPG",
                                        "旅行02.CR2", kCafeNfd + "07.jpg"};
    const struct {
        const char* family;
        std::vector<std::string> entries;
        std::string base;
        std::optional<std::string> series;
        bool shots;
        std::vector<std::pair<std::string, std::string>> moves;
    } rows[] = {
        {"members keep their names", {"旅行01.jpg", "IMG_1.JPG", "旅行02.JPG", "IMG_2.JPG"}, "旅行", "旅行", false,
         {{"IMG_1.JPG", "旅行03.JPG"}, {"IMG_2.JPG", "旅行04.JPG"}}},
        {"another base numbers every entry", {"旅行01.jpg", "IMG_1.JPG"}, "旅行", "海", false,
         {{"旅行01.jpg", "旅行03.jpg"}, {"IMG_1.JPG", "旅行04.JPG"}}},
        {"a member's shot stays whole", {"IMG_1.JPG", "旅行02.JPG"}, "旅行", "旅行", true,
         {{"IMG_1.JPG", "旅行03.JPG"}, {"IMG_1.CR2", "旅行03.CR2"}}},
        {"a member by the name key", {kCafeNfd + "07.jpg", "IMG_1.JPG"}, kCafeNfc, kCafeNfc, false,
         {{"IMG_1.JPG", kCafeNfc + "03.JPG"}}},
    };
    for (const auto& row : rows) {
        TempFolder folder;
        folder.writeAll(card);
        const Contents before = folder.contents();
        FaultyFileSystem fs;
        const BatchOptions options{row.shots, composedE, {3, 2, row.series}};
        const BatchPlan plan = planBatch(folder.path(), row.entries, row.base, fs, fixedRandom({kDraw17}), options);
        EXPECT_TRUE(plan.leftOut.empty()) << row.family;
        EXPECT_TRUE(applyBatch(plan, fs).unfinished().empty()) << row.family;
        EXPECT_EQ(folder.contents(), movedContents(before, {row.moves.begin(), row.moves.end()})) << row.family;
    }
}

} // namespace
} // namespace zanto::test
