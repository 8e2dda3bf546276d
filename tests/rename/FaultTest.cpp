#include "rename/BatchRename.h"
#include "tests/rename/FolderExpectations.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

// Faults at every moment of a batch: each rename of the run fails in turn with
// each error number, and a second fault strikes the way back. Whatever
// happens, no content leaves the folder, nothing outside the list changes,
// and the report says where each file stands.

namespace zanto::test {
namespace {

// Two entries exchange their names; the others have extensions of their own.
const std::vector<std::string> kEntries{"2.jpg", "1.jpg", "b.png", "c"};
constexpr std::size_t kCount = 4; // renames 1-4 are the first pass, 5-8 the second

std::multiset<std::string> contentSet(const Contents& contents)
{
    std::multiset<std::string> set;
    for (const auto& [name, content] : contents)
        set.insert(content);
    return set;
}

// One batch over a fresh folder, with faults set up by `arrange`.
struct FaultyRun {
    TempFolder folder;
    FaultyFileSystem fs;
    Contents before;
    BatchPlan plan;
    BatchReport report;

    template <typename Arrange>
    explicit FaultyRun(Arrange arrange)
    {
        folder.writeAll(kEntries);
        folder.write("other.txt");
        before = folder.contents();
        plan = planBatch(folder.path(), kEntries, "", fs, fixedRandom({kDraw17}));
        arrange(*this);
        report = applyBatch(plan, fs);
    }

    // The name that holds the content entry `p` had.
    std::string nameOf(std::size_t p) const
    {
        for (const auto& [name, content] : folder.contents()) {
            if (content == before.at(kEntries[p]))
                return name;
        }
        return {};
    }

    // Every case: the same contents, nothing outside the list moved, every
    // listed file under one of its three names and where the report says.
    void expectNothingLost() const
    {
        const Contents after = folder.contents();
        EXPECT_EQ(contentSet(after), contentSet(before));
        EXPECT_EQ(after.at("other.txt"), before.at("other.txt"));
        for (std::size_t p = 0; p < kCount; ++p) {
            const BatchItem& item = plan.items[p];
            const std::string name = nameOf(p);
            EXPECT_TRUE(name == item.original || name == item.temporary || name == item.final)
                << item.original << " stands under " << name;
            // The layer may call a file gone that is still there; any other state is told as it is.
            if (report.state(p) != EntryState::Missing) {
                EXPECT_EQ(BatchReport::currentName(item, report.state(p)), name);
            }
        }
    }
};

bool stopsTheRun(FsError error)
{
    return error != FsError::FileNotFound && error != FsError::FileExists;
}

// Each rename of the run fails in turn with each error number.
TEST(EveryRenameFails, StopsAndRestoresOrSkipsOnlyThatFile)
{
    for (const FsError error : {FsError::FileNotFound, FsError::FileExists, FsError::DeviceUnavailable,
                                FsError::DiskNotReady, FsError::PathFileAccess, FsError::PathNotFound, FsError::Other})
    for (std::size_t k = 1; k <= 2 * kCount; ++k) {
        SCOPED_TRACE("rename " + std::to_string(k) + " fails with " + std::to_string(static_cast<int>(error)));
        const FaultyRun run([&](FaultyRun& r) { r.fs.failRename(k, error); });
        const std::size_t failing = (k - 1) % kCount;
        const bool firstPass = k <= kCount;

        run.expectNothingLost();
        if (stopsTheRun(error)) {
            EXPECT_TRUE(run.report.stopped());
            EXPECT_EQ(run.report.stoppedAt(), failing);
            EXPECT_EQ(run.folder.contents(), run.before);
            continue;
        }
        // Only that file stays behind (in the first pass, with the file whose
        // new name it still holds).
        EXPECT_FALSE(run.report.stopped());
        const BatchItem& item = run.plan.items[failing];
        EXPECT_EQ(run.nameOf(failing), firstPass ? item.original : item.temporary);
        const std::size_t partner = firstPass && failing < 2 ? 1 - failing : failing;
        for (std::size_t p = 0; p < kCount; ++p) {
            if (p != failing && p != partner) {
                EXPECT_EQ(run.nameOf(p), run.plan.items[p].final);
            }
        }
    }
}

// A stop, then a second fault on the way back: the files that cannot go back
// are exactly those the report names, under the names it gives.
TEST(SecondFault, TheReportNamesEveryFileNotBackUnderItsOldName)
{
    const FsError secondErrors[] = {FsError::PathFileAccess, FsError::FileExists, FsError::DiskNotReady};
    std::size_t unrestoredSeen = 0;
    for (std::size_t first = 2; first <= 2 * kCount; ++first) {
        for (std::size_t second = first + 1; second <= first + 2 * kCount; ++second) {
            for (const FsError secondError : secondErrors) {
                SCOPED_TRACE("stop at " + std::to_string(first) + ", fault at " + std::to_string(second) + " ("
                             + std::to_string(static_cast<int>(secondError)) + ")");
                const FaultyRun run([&](FaultyRun& r) {
                    r.fs.failRename(first, FsError::PathFileAccess);
                    r.fs.failRename(second, secondError);
                });
                run.expectNothingLost();
                ASSERT_TRUE(run.report.stopped());
                std::vector<std::size_t> notBack;
                for (std::size_t p = 0; p < kCount; ++p) {
                    if (run.nameOf(p) != run.plan.items[p].original)
                        notBack.push_back(p);
                }
                EXPECT_EQ(run.report.unrestored(), notBack);
                unrestoredSeen += notBack.size();
            }
        }
    }
    EXPECT_GT(unrestoredSeen, 0u) << "some second fault must strike the way back";
}

} // namespace
} // namespace zanto::test
