#include "ui/QtMessenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zanto {
namespace {

enum class Close { Enter, Escape, CloseBox, More };

struct MessengerCase {
    const char* name;
    MsgButtons buttons;
    MsgDefault defaultButton;
    Close close;
    MsgAnswer expected;
};

class QtMessengerTest : public ::testing::TestWithParam<MessengerCase> {};

TEST_P(QtMessengerTest, AnswerFollowsHowTheBoxWasClosed)
{
    const MessengerCase& c = GetParam();
    QTimer::singleShot(0, [&c] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (c.close == Close::CloseBox)
            box->close();
        else if (c.close == Close::More) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QLatin1String("more"))
                    button->click();
            }
        }
        else
            QTest::keyClick(box, c.close == Close::Enter ? Qt::Key_Return : Qt::Key_Escape);
    });
    QtMessenger messenger;
    // A box's own button takes neither Enter nor Escape from the asked ones.
    EXPECT_EQ(messenger.show(nullptr, {"text", c.buttons, MsgIcon::Question, c.defaultButton, {}, false, {}, "more"}),
              c.expected);
}

const MessengerCase kCases[] = {
    {"okCancel_enterFirst", MsgButtons::OkCancel, MsgDefault::First, Close::Enter, MsgAnswer::Ok},
    {"okCancel_enterSecond", MsgButtons::OkCancel, MsgDefault::Second, Close::Enter, MsgAnswer::Cancel},
    {"okCancel_escape", MsgButtons::OkCancel, MsgDefault::First, Close::Escape, MsgAnswer::Cancel},
    {"retryCancel_escape", MsgButtons::RetryCancel, MsgDefault::First, Close::Escape, MsgAnswer::Cancel},
    {"ok_escape", MsgButtons::Ok, MsgDefault::First, Close::Escape, MsgAnswer::Ok},
    {"ok_closeBox", MsgButtons::Ok, MsgDefault::First, Close::CloseBox, MsgAnswer::Ok},
    {"okCancel_more", MsgButtons::OkCancel, MsgDefault::Second, Close::More, MsgAnswer::More},
};
INSTANTIATE_TEST_SUITE_P(Boxes, QtMessengerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zanto
