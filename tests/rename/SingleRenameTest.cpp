#include "rename/ShotGroups.h"
#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace zanto::test {
namespace {


// One rename in the folder [photo.jpg, other.jpg, readme]; the file system
// may fail the first rename, ignore case, or limit the name length.
TEST(SingleRename, GivesTheOutcomeAndMovesOnlyThatFile)
{
    const struct {
        const char* family;
        const char* from;
        const char* to;
        SingleOutcome outcome;
        std::optional<FsError> fails = std::nullopt;
        bool caseInsensitive = false;
        std::size_t maxNameLength = 0; // 0: no limit
    } rows[] = {
        {"case_only", "readme", "README", SingleOutcome::Done},
        {"case_only_case_insensitive", "photo.jpg", "Photo.jpg", SingleOutcome::Done, std::nullopt, true},
        {"name_taken", "photo.jpg", "other.jpg", SingleOutcome::NameTaken},
        {"name_taken_in_another_case_even_where_the_disk_tells_cases_apart", "photo.jpg", "OTHER.jpg",
         SingleOutcome::NameTaken},
        {"missing_file", "gone.jpg", "new.jpg", SingleOutcome::NotFound},
        {"longest_name", "photo.jpg", "holiday1.jpg", SingleOutcome::Done, std::nullopt, false, 12},
        {"name_too_long", "photo.jpg", "holiday12.jpg", SingleOutcome::Other, std::nullopt, false, 12},
        {"access_refused", "photo.jpg", "new.jpg", SingleOutcome::AccessRefused, FsError::PathFileAccess},
        {"folder_gone", "photo.jpg", "new.jpg", SingleOutcome::Other, FsError::PathNotFound},
        {"disk_not_ready", "photo.jpg", "new.jpg", SingleOutcome::Other, FsError::DiskNotReady},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.family);
        TempFolder folder;
        FaultyFileSystem fs;
        folder.writeAll({"photo.jpg", "other.jpg", "readme"});
        const Contents before = folder.contents();
        if (row.fails)
            fs.failRename(1, *row.fails);
        fs.setCaseInsensitive(row.caseInsensitive);
        if (row.maxNameLength != 0)
            fs.setMaxNameLength(row.maxNameLength);

        EXPECT_EQ(renameSingle(fs, folder.path(), row.from, row.to), row.outcome);
        EXPECT_EQ(folder.contents(), row.outcome == SingleOutcome::Done ? movedContents(before, {{row.from, row.to}}) : before);
    }
}

// A shot takes the new stem whole, or not at all when a new name is held
// outside it; a member that cannot follow its first file is told.
TEST(SingleRename, AShotTakesTheNewStemWhole)
{
    const Shot shot{"IMG_1.JPG", {"IMG_1.JPG", "IMG_1.CR2", "IMG_1.CR2.xmp"}};
    const struct {
        const char* family;
        const char* outside;
        int failingRename; // 0: none
        SingleOutcome outcome;
        std::vector<std::string> left;
    } rows[] = {
        {"all_follow", "other.jpg", 0, SingleOutcome::Done, {}},
        {"taken_in_another_case", "SUN.cr2.XMP", 0, SingleOutcome::NameTaken, {}},
        {"a_member_refuses", "other.jpg", 2, SingleOutcome::Done, {"IMG_1.CR2"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.family);
        TempFolder folder;
        FaultyFileSystem fs;
        folder.writeAll({"IMG_1.JPG", "IMG_1.CR2", "IMG_1.CR2.xmp", row.outside});
        const Contents before = folder.contents();
        if (row.failingRename != 0)
            fs.failRename(row.failingRename, FsError::PathFileAccess);
        std::vector<std::string> left;
        EXPECT_EQ(renameShot(fs, folder.path(), shot, "IMG_1.JPG", "sun", left), row.outcome);
        EXPECT_EQ(left, row.left);
        std::map<std::string, std::string> moves;
        for (const std::string& member : shot.members) {
            if (row.outcome == SingleOutcome::Done && std::count(row.left.begin(), row.left.end(), member) == 0)
                moves[member] = "sun" + shotTail(shot, member);
        }
        EXPECT_EQ(folder.contents(), movedContents(before, moves));
    }
}

// Folder [apple.jpg, photo.jpg, sun.jpg] with photo.jpg selected, unless named otherwise.
TEST(SingleRename, TheNextSelectionFollowsTheRenamedListing)
{
    const struct {
        const char* family;
        const char* typed;
        const char* oldBase;
        std::size_t k, n;
        const char* next;
        std::size_t expected;
    } rows[] = {
        {"after_both_stays", "zebra", "photo", 1, 3, "sun.jpg", 1},
        {"before_both_moves_on", "cat", "photo", 1, 3, "sun.jpg", 2},
        {"prefix_of_next_moves_on", "sun", "photo", 1, 3, "sun.jpg", 2},
        {"japanese_sorts_last", "写真", "photo", 1, 3, "sun.jpg", 1},
        {"last_wraps", "zebra", "sun", 2, 3, "", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(nextSelection(row.typed, row.oldBase, row.k, row.n, row.next), row.expected) << row.family;
}

} // namespace
} // namespace zanto::test
