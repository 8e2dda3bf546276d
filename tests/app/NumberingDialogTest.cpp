#include "app/NumberingDialog.h"

#include <QPushButton>
#include <gtest/gtest.h>

// 続きから: the start one past the series' end, at the series' width.
TEST(NumberingDialog, ContinuesTheSeriesAtItsWidth)
{
    const struct {
        std::optional<zanto::SeriesEnd> end;
        std::size_t start, digits;
    } rows[] = {{zanto::SeriesEnd{3, 2}, 4, 2}, {std::nullopt, 1, 0}};
    for (const auto& row : rows) {
        zanto::NumberingDialog dialog({9, 5}, [&] { return row.end; }, nullptr);
        dialog.findChild<QPushButton*>(QStringLiteral("continueSeries"))->click();
        EXPECT_EQ(dialog.numbering().start, row.start);
        EXPECT_EQ(dialog.numbering().minDigits, row.digits);
    }
}
