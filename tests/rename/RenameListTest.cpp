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

const Names kListing{"x", "y"};

class RenameListTable : public ::testing::TestWithParam<ListCase> {};

TEST_P(RenameListTable, EditsTheNamesAndTheSelection)
{
    const ListCase& c = GetParam();
    const ListChange change = c.operation(RenameList(static_cast<int>(c.names.size()), c.selected));
    Names names = c.names;
    RenameList::apply(change, names, kListing);
    EXPECT_EQ(names, c.expected);
    EXPECT_EQ(change.select, c.expectedSelected);
    EXPECT_EQ(change.react, c.reacts);
}

const auto up = [](const RenameList& l) { return l.moveUp(); };
const auto down = [](const RenameList& l) { return l.moveDown(); };
const auto erase = [](const RenameList& l) { return l.erase(); };
const auto keyDown = [](const RenameList& l) { return l.keyDown(); };
const auto keyUp = [](const RenameList& l) { return l.keyUp(); };
const auto refresh = [](const RenameList&) { return RenameList::refresh(); };

INSTANTIATE_TEST_SUITE_P(
    Operations, RenameListTable,
    ::testing::Values(
        ListCase{"up_middle", {"a", "b", "c", "d"}, 2, up, {"a", "c", "b", "d"}, 1, false},
        ListCase{"up_first", {"a", "b"}, 0, up, {"a", "b"}, 0, false},
        ListCase{"up_none", {"a", "b"}, -1, up, {"a", "b"}, -1, false},
        ListCase{"down_middle", {"a", "b", "c"}, 1, down, {"a", "c", "b"}, 2, false},
        ListCase{"down_last", {"a", "b"}, 1, down, {"a", "b"}, 1, false},
        ListCase{"down_empty", {}, -1, down, {}, -1, false},
        ListCase{"erase_middle", {"a", "b", "c"}, 1, erase, {"a", "c"}, 1, true},
        ListCase{"erase_last_wraps", {"a", "b", "c"}, 2, erase, {"a", "b"}, 0, true},
        ListCase{"erase_only", {"a"}, 0, erase, {}, -1, true},
        ListCase{"erase_none", {"a"}, -1, erase, {"a"}, -1, false},
        ListCase{"key_down_last_wraps", {"a", "b", "c"}, 2, keyDown, {"a", "b", "c"}, 0, true},
        ListCase{"key_down_none", {"a", "b"}, -1, keyDown, {"a", "b"}, 0, true},
        ListCase{"key_down_empty", {}, -1, keyDown, {}, -1, false},
        ListCase{"key_up_first_wraps", {"a", "b", "c"}, 0, keyUp, {"a", "b", "c"}, 2, true},
        ListCase{"key_up_none", {"a", "b"}, -1, keyUp, {"a", "b"}, -1, false},
        ListCase{"refresh_reloads", {"b", "a"}, 1, refresh, {"x", "y"}, -1, false}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.family); });

} // namespace
} // namespace zanto
