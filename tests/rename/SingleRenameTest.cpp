#include "rename/SingleRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace zanto::test {
namespace {

using Call = FaultyFileSystem::Call;

// One rename in the folder [photo.jpg, other.jpg, readme]; the file system
// may fail the first rename, ignore case, or limit the name length.
struct OutcomeCase {
    const char* family;
    const char* from;
    const char* to;
    SingleOutcome outcome;
    std::optional<FsError> firstRenameFails = std::nullopt;
    bool caseInsensitive = false;
    std::size_t maxNameLength = 0; // 0: no limit
};

class SingleRename : public ::testing::TestWithParam<OutcomeCase> {
protected:
    TempFolder folder;
    FaultyFileSystem fs;
};

TEST_P(SingleRename, GivesTheOutcomeAndMovesOnlyThatFile)
{
    const auto& p = GetParam();
    folder.writeAll({"photo.jpg", "other.jpg", "readme"});
    const Contents before = folder.contents();
    if (p.firstRenameFails)
        fs.failRename(1, *p.firstRenameFails);
    fs.setCaseInsensitive(p.caseInsensitive);
    if (p.maxNameLength != 0)
        fs.setMaxNameLength(p.maxNameLength);

    EXPECT_EQ(renameSingle(fs, folder.path(), p.from, p.to), p.outcome);

    EXPECT_EQ(folder.contents(), p.outcome == SingleOutcome::Done ? movedContents(before, {{p.from, p.to}}) : before);
    if (p.maxNameLength != 0 && p.outcome != SingleOutcome::Done) {
        EXPECT_EQ(fs.calls(Call::Rename), 0u) << "refused before the disk is asked";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, SingleRename,
    ::testing::Values(
        OutcomeCase{"typed_name", "photo.jpg", "holiday.jpg", SingleOutcome::Done},
        OutcomeCase{"case_only", "readme", "README", SingleOutcome::Done},
        OutcomeCase{"case_only_case_insensitive", "photo.jpg", "Photo.jpg", SingleOutcome::Done, std::nullopt, true},
        OutcomeCase{"name_taken", "photo.jpg", "other.jpg", SingleOutcome::NameTaken},
        OutcomeCase{"name_taken_in_another_case", "photo.jpg", "OTHER.jpg", SingleOutcome::NameTaken, std::nullopt,
                    true},
        OutcomeCase{"missing_file", "gone.jpg", "new.jpg", SingleOutcome::NotFound},
        OutcomeCase{"longest_name", "photo.jpg", "holiday1.jpg", SingleOutcome::Done, std::nullopt, false, 12},
        OutcomeCase{"name_too_long", "photo.jpg", "holiday12.jpg", SingleOutcome::Other, std::nullopt, false, 12},
        OutcomeCase{"access_refused", "photo.jpg", "new.jpg", SingleOutcome::AccessRefused, FsError::PathFileAccess},
        OutcomeCase{"not_found", "photo.jpg", "new.jpg", SingleOutcome::NotFound, FsError::FileNotFound},
        OutcomeCase{"file_exists", "photo.jpg", "new.jpg", SingleOutcome::NameTaken, FsError::FileExists},
        OutcomeCase{"folder_gone", "photo.jpg", "new.jpg", SingleOutcome::Other, FsError::PathNotFound},
        OutcomeCase{"no_space", "photo.jpg", "new.jpg", SingleOutcome::Other, FsError::Other},
        OutcomeCase{"disk_not_ready", "photo.jpg", "new.jpg", SingleOutcome::Other, FsError::DiskNotReady}),
    [](const auto& info) { return std::string(info.param.family); });

// photo.jpg -> Photo.jpg on a case-insensitive file system takes up to four
// renames: the direct one (it meets the file itself), away to a free name,
// onward, and back on failure.
TEST(SingleRenameCaseOnly, AFaultAtAnyStepLeavesTheFileInTheFolder)
{
    for (std::size_t k = 1; k <= 3; ++k) {
        for (const FsError error : {FsError::PathFileAccess, FsError::Other}) {
            SCOPED_TRACE("fault at rename " + std::to_string(k));
            TempFolder folder;
            FaultyFileSystem fs;
            fs.setCaseInsensitive(true);
            folder.writeAll({"photo.jpg", "sun.jpg"});
            const Contents before = folder.contents();
            fs.failRename(k, error);

            const SingleOutcome outcome = renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg");

            EXPECT_NE(outcome, SingleOutcome::Done);
            if (k == 3 && error == FsError::PathFileAccess) {
                EXPECT_EQ(outcome, SingleOutcome::AccessRefused);
            }
            EXPECT_EQ(folder.contents(), before) << "the file is back under its old name";
        }
    }
    // Onward and back both fail: the file stays in the folder under the free name.
    TempFolder folder;
    FaultyFileSystem fs;
    fs.setCaseInsensitive(true);
    folder.write("photo.jpg");
    fs.failRename(3, FsError::DiskNotReady);
    fs.failRename(4, FsError::DiskNotReady);
    EXPECT_EQ(renameSingle(fs, folder.path(), "photo.jpg", "Photo.jpg"), SingleOutcome::Other);
    const auto after = folder.contents();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.begin()->second, "content of photo.jpg");
}

struct SelectionCase {
    const char* family;
    const char* typed;
    const char* oldBase;
    std::size_t k;
    std::size_t n;
    const char* next;
    std::size_t expected;
};

class NextSelection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(NextSelection, FollowsTheRenamedListing)
{
    const auto& p = GetParam();
    EXPECT_EQ(nextSelection(p.typed, p.oldBase, p.k, p.n, p.next), p.expected);
}

// Folder [apple.jpg, photo.jpg, sun.jpg] with photo.jpg selected, unless named otherwise.
INSTANTIATE_TEST_SUITE_P(
    Families, NextSelection,
    ::testing::Values(SelectionCase{"after_both_stays", "zebra", "photo", 1, 3, "sun.jpg", 1},
                      SelectionCase{"before_both_moves_on", "cat", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"unchanged_moves_on", "photo", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"prefix_of_next_moves_on", "sun", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"uppercase_sorts_first", "Zebra", "photo", 1, 3, "sun.jpg", 2},
                      SelectionCase{"japanese_sorts_last", "写真", "photo", 1, 3, "sun.jpg", 1},
                      SelectionCase{"last_wraps", "zebra", "sun", 2, 3, "", 0}),
    [](const auto& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto::test
