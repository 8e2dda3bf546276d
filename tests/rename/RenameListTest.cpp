#include "rename/RenameList.h"

#include <gtest/gtest.h>

#include <functional>

namespace zanto {
namespace {

using Names = std::vector<std::string>;

struct ListCase {
    const char* family;
    Names names;
    int selected;
    std::function<ListChange(const RenameList&)> operation;
    Names expected;
    int expectedSelected;
    bool reacts;
};

class RenameListTable : public ::testing::TestWithParam<ListCase> {};

TEST_P(RenameListTable, EditsTheNamesAndTheSelection)
{
    const ListCase& c = GetParam();
    const ListChange change = c.operation(RenameList(static_cast<int>(c.names.size()), c.selected));
    Names names = c.names;
    RenameList::apply(change, names, {"x", "y"});
    EXPECT_EQ(names, c.expected);
    EXPECT_EQ(change.select, c.expectedSelected);
    EXPECT_EQ(change.react, c.reacts);
}

using L = RenameList;
// A drag from one place to another, beside the buttons that move one step.
auto drag(int from, int to)
{
    return [from, to](const RenameList& list) { return list.moveTo(from, to); };
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RenameListTable,
    ::testing::Values(
        ListCase{"up_middle", {"a", "b", "c", "d"}, 2, &L::moveUp, {"a", "c", "b", "d"}, 1, false},
        ListCase{"up_first", {"a", "b"}, 0, &L::moveUp, {"a", "b"}, 0, false},
        ListCase{"down_middle", {"a", "b", "c"}, 1, &L::moveDown, {"a", "c", "b"}, 2, false},
        ListCase{"down_last", {"a", "b"}, 1, &L::moveDown, {"a", "b"}, 1, false},
        ListCase{"erase_middle", {"a", "b", "c"}, 1, &L::erase, {"a", "c"}, 1, true},
        ListCase{"erase_last_wraps", {"a", "b", "c"}, 2, &L::erase, {"a", "b"}, 0, true},
        ListCase{"erase_only", {"a"}, 0, &L::erase, {}, -1, true},
        ListCase{"erase_none", {"a"}, -1, &L::erase, {"a"}, -1, false},
        ListCase{"key_down_last_wraps", {"a", "b", "c"}, 2, &L::keyDown, {"a", "b", "c"}, 0, true},
        ListCase{"key_down_none", {"a", "b"}, -1, &L::keyDown, {"a", "b"}, 0, true},
        ListCase{"key_down_empty", {}, -1, &L::keyDown, {}, -1, false},
        ListCase{"key_up_first_wraps", {"a", "b", "c"}, 0, &L::keyUp, {"a", "b", "c"}, 2, true},
        ListCase{"key_up_none", {"a", "b"}, -1, &L::keyUp, {"a", "b"}, -1, false},
        ListCase{"drag_down_one_is_down", {"a", "b", "c"}, 1, drag(1, 2), {"a", "c", "b"}, 2, false},
        ListCase{"drag_first_to_last", {"a", "b", "c", "d"}, 0, drag(0, 3), {"b", "c", "d", "a"}, 3, false},
        ListCase{"drag_last_to_first", {"a", "b", "c", "d"}, 3, drag(3, 0), {"d", "a", "b", "c"}, 0, false},
        ListCase{"drag_past_the_end", {"a", "b"}, 0, drag(0, 2), {"a", "b"}, 0, false},
        ListCase{"refresh_reloads", {"b", "a"}, 1, &L::refresh, {"x", "y"}, -1, false}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto
