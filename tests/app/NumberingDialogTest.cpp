#include "app/NumberingDialog.h"

#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

// 続きから: the start one past the series' end, at the series' width, and the
// series continued until the start is changed by hand.
TEST(NumberingDialog, ContinuesTheSeriesAtItsWidth)
{
    const struct {
        std::optional<zanto::SeriesEnd> end;
        std::size_t start, digits;
        std::optional<std::string> series;
    } rows[] = {{zanto::SeriesEnd{3, 2, "旅行"}, 4, 2, "旅行"}, {std::nullopt, 1, 0, std::nullopt}};
    for (const auto& row : rows) {
        zanto::NumberingDialog dialog({9, 5, "海"}, [&] { return row.end; }, nullptr);
        dialog.findChild<QPushButton*>(QStringLiteral("continueSeries"))->click();
        EXPECT_EQ(dialog.numbering().start, row.start);
        EXPECT_EQ(dialog.numbering().minDigits, row.digits);
        EXPECT_EQ(dialog.numbering().series, row.series);
        dialog.findChild<QSpinBox*>(QStringLiteral("start"))->setValue(7);
        EXPECT_FALSE(dialog.numbering().series);
    }
}
