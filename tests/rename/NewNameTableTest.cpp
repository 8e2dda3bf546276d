#include "rename/NewNameTable.h"
#include "rename/PortableName.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace zanto::test {
namespace {

std::vector<std::string> listing(const TempFolder& folder)
{
    return folder.names();
}

// Whatever the list, its order, the files left off it, the shots, the start
// and the names held outside the run, the table names every file the run
// moves with the name it ends under, and nothing else moves.
TEST(NewNameTable, ShowsExactlyWhatTheRunDoes)
{
    std::mt19937 random(20261209);
    const std::vector<std::string> outside{"t1.JPG", "t01.jpg", "T02.jpg", "t3.jpg", "t003.CR2", "t04.xmp"};
    for (int round = 0; round < 60; ++round) {
        TempFolder folder;
        std::vector<std::string> pictures;
        for (int k = 1; k <= 3 + static_cast<int>(random() % 12); ++k) {
            const std::string stem = "IMG_" + std::to_string(k);
            pictures.push_back(stem + ".JPG");
            folder.write(stem + ".JPG");
            if (random() % 3 == 0)
                folder.write(stem + ".CR2");
            if (random() % 4 == 0)
                folder.write(stem + ".xmp");
        }
        for (const std::string& name : outside) {
            if (random() % 3 == 0)
                folder.write(name, "outside");
        }
        std::vector<std::string> entries = pictures;
        std::shuffle(entries.begin(), entries.end(), random);
        entries.resize(entries.size() - random() % 3);
        BatchOptions options;
        options.shots = random() % 2 == 0;
        // With a key, as in the window, a name held in another case leaves its entry out.
        if (random() % 2 == 0)
            options.nameKey = [](const std::string& name) { return name; };
        options.numbering.start = std::vector<std::size_t>{1, 1, 2, 8}[random() % 4];
        FaultyFileSystem fs;
        const BatchPlan plan = planBatch(folder.path(), entries, "t", fs, clockSeededRandom(), options);
        ASSERT_EQ(plan.status, PlanStatus::Ready);
        const NewNameTable table = newNameTable(plan, entries, "t", listing(folder), options);

        std::map<std::string, std::string> moves;
        std::size_t rowsOfEntries = 0;
        for (const NewNameRow& row : table.rows) {
            ASSERT_EQ(row.oldNames.size(), row.newNames.size());
            rowsOfEntries += std::count_if(entries.begin(), entries.end(), [&](const std::string& entry) {
                return std::find(row.oldNames.begin(), row.oldNames.end(), entry) != row.oldNames.end();
            });
            for (std::size_t i = 0; i < row.oldNames.size(); ++i) {
                if (!row.marks.has(NameMark::LeftOut))
                    moves[row.oldNames[i]] = row.newNames[i];
            }
        }
        EXPECT_EQ(rowsOfEntries, entries.size()) << "round " << round << ": every entry has its row";
        const Contents expected = movedContents(folder.contents(), moves);
        const BatchReport report = applyBatch(plan, fs);
        ASSERT_FALSE(report.stopped());
        EXPECT_EQ(folder.contents(), expected) << "round " << round << (options.shots ? " with shots" : "");
    }
}

std::string decomposed(const std::string& name)
{
    std::string key = name;
    for (std::size_t at; (at = key.find("e\xCC\x81")) != std::string::npos;)
        key.replace(at, 3, "\xC3\xA9");
    return key;
}

struct MarkCase {
    const char* family;
    std::vector<std::string> files; // besides the entries
    std::vector<std::string> entries;
    bool shots;
    const char* base;
    std::size_t row;
    NameMarks marks;
    const char* holder = "";
    const char* picture = "";
    std::vector<std::string> oldNames = {};
};

TEST(NewNameTable, MarksWhatNeedsALook)
{
    const MarkCase rows[] = {
        {"held_byte_for_byte", {"x2.jpg"}, {"a.jpg", "b.jpg"}, false, "x", 1, NameMark::HeldExactly, "x2.jpg"},
        {"held_in_other_case", {"X1.JPG"}, {"a.jpg", "b.jpg"}, false, "x", 0,
         NameMark::LeftOut | NameMark::HeldInOtherCase, "X1.JPG"},
        {"held_in_other_form", {"cafe\xCC\x81" "1.jpg"}, {"a.jpg"}, false, "caf\xC3\xA9", 0,
         NameMark::LeftOut | NameMark::HeldInOtherForm, "cafe\xCC\x81" "1.jpg"},
        {"shot_left_whole", {"IMG_1.CR2", "x1.CR2"}, {"IMG_1.JPG", "IMG_2.JPG"}, true, "x", 0,
         NameMark::LeftOut | NameMark::HeldExactly, "x1.CR2", "", {"IMG_1.JPG", "IMG_1.CR2"}},
        {"sidecar_numbered_apart", {}, {"IMG_1.JPG", "IMG_1.xmp"}, false, "x", 1, NameMark::SidecarApart, "",
         "IMG_1.JPG"},
        {"takeout_sidecar_apart", {}, {"IMG_1.JPG", "IMG_1.JPG.supplemental-metadata.json"}, false, "x", 1,
         NameMark::SidecarApart, "", "IMG_1.JPG"},
        {"sidecar_without_picture", {}, {"IMG_1.JPG", "IMG_9.JSON"}, true, "x", 1, NameMark::SidecarApart},
        {"clip_proxy_without_clip", {}, {"GL011234.LRV", "IMG_1.JPG"}, true, "x", 0, NameMark::SidecarApart},
        {"travels_badly", {}, {"a.jpg"}, false, "COM", 0, NameMark::ReservedOnWindows},
        {"nothing_to_say", {"IMG_1.CR2"}, {"IMG_1.JPG"}, true, "x", 0, {}, "", "", {"IMG_1.JPG", "IMG_1.CR2"}},
    };
    for (const MarkCase& c : rows) {
        TempFolder folder;
        folder.writeAll(c.files);
        folder.writeAll(c.entries);
        FaultyFileSystem fs;
        BatchOptions options{c.shots, decomposed, {}};
        const BatchPlan plan = planBatch(folder.path(), c.entries, c.base, fs, clockSeededRandom(), options);
        const NewNameTable table = newNameTable(plan, c.entries, c.base, listing(folder), options);
        ASSERT_LT(c.row, table.rows.size()) << c.family;
        const NewNameRow& row = table.rows[c.row];
        EXPECT_EQ(row.marks, c.marks) << c.family;
        EXPECT_EQ(row.holder, c.holder) << c.family;
        EXPECT_EQ(row.picture, c.picture) << c.family;
        if (!c.oldNames.empty()) {
            EXPECT_EQ(row.oldNames, c.oldNames) << c.family;
        }
        EXPECT_EQ(table.markedRows, c.marks.any() ? 1U : 0U) << c.family;
    }
}

// Names this folder takes that a card, Windows or an archiver does not.
TEST(NewNameTable, TellsNamesThatDoNotTravel)
{
    const struct {
        std::string name;
        std::size_t folderUnits;
        NameMarks marks;
    } rows[] = {
        {"旅行01.jpg", 20, {}},
        {"con.tar.gz", 20, NameMark::ReservedOnWindows},
        {"LPT9", 20, NameMark::ReservedOnWindows},
        {"COM0.jpg", 20, {}},
        {"console.jpg", 20, {}},
        {"a1. ", 20, NameMark::TrailingDotOrSpace},
        {std::string(252, 'a') + ".jpg", 0, NameMark::TooManyBytes},
        {"a.jpg", 253, {}},
        {"ab.jpg", 253, NameMark::PathTooLong},
        {"旅行.jpg", 252, {}}, // counted in characters, not bytes
        {"\xF0\x9F\x93\xB7.jpg", 253, NameMark::PathTooLong}, // one character, two UTF-16 units
        {"\xEF\xBD\xB6\xEF\xBE\x9E.jpg", 20, NameMark::MachineDependent}, // ｶﾞ
        {"\xE2\x91\xA0.jpg", 20, NameMark::MachineDependent}, // ①
    };
    for (const auto& row : rows)
        EXPECT_EQ(travelMarks(row.name, row.folderUnits), row.marks) << row.name;
}

TEST(NewNameTable, SaysWhenTheNumbersGrewAndFindsCopiesOnRequest)
{
    TempFolder folder;
    folder.write("t7.jpg", "older series");
    folder.write("t100.jpg", "older series"); // the widest does not hide the narrowest
    std::vector<std::string> entries;
    for (int k = 0; k < 10; ++k)
        entries.push_back("IMG_" + std::to_string(k) + ".jpg");
    folder.writeAll(entries);
    folder.write("IMG_3.jpg", "content of IMG_1.jpg"); // the others: same size, other bytes
    FaultyFileSystem fs;
    const BatchPlan plan = planBatch(folder.path(), entries, "t", fs);
    NewNameTable table = newNameTable(plan, entries, "t", listing(folder), {});
    EXPECT_EQ(table.firstNumber + "-" + table.lastNumber, "01-10");
    EXPECT_EQ(table.narrowerDigits, 1U);
    markSameContent(table, folder.path(), fs);
    std::vector<std::string> marked;
    for (const NewNameRow& row : table.rows) {
        if (row.marks.has(NameMark::SameContent))
            marked.push_back(row.oldNames[0] + "=" + row.sameAs);
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"IMG_1.jpg=IMG_3.jpg", "IMG_3.jpg=IMG_1.jpg"}));
    EXPECT_EQ(table.markedRows, 2U);
}

} // namespace
} // namespace zanto::test
