#include "browse/ListBox.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zanto {
namespace {

struct DeepRow {
    const char* how;
    std::function<void(ListBox&)> reach;
    int row;
};

// A long list is laid out a batch at a time once shown; a row far past the
// first batch, reached before the rest has its places, is still scrolled to.
TEST(ListBox, ARowReachedBeforeTheListIsLaidOutIsShown)
{
    constexpr int kRows = 20000;
    const std::vector<DeepRow> cases = {
        {"selected by the program", [](ListBox& box) { box.setListIndex(15000); }, 15000},
        {"End pressed", [](ListBox& box) {
             box.setListIndex(0);
             QTest::keyClick(&box, Qt::Key_End);
         }, kRows - 1},
    };
    for (const DeepRow& c : cases) {
        ListBox box;
        box.resize(200, 300);
        std::vector<std::string> names;
        for (int i = 0; i < kRows; ++i)
            names.push_back("IMG_" + std::to_string(i) + ".jpg");
        box.setItems(std::move(names));
        box.show();
        c.reach(box);
        EXPECT_EQ(box.listIndex(), c.row) << c.how;
        const QRect shown = box.visualRect(box.model()->index(c.row, 0));
        EXPECT_TRUE(box.viewport()->rect().contains(shown)) << c.how;
    }
}

} // namespace
} // namespace zanto
