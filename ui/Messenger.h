#pragma once

#include <QString>

class QWidget;

namespace zanto {

enum class MsgButtons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation };
enum class MsgDefault { First, Second }; // which of the buttons Enter presses

// Answers keep the numbers of the platform's message boxes.
// More: the box's own button beside the asked ones (MessageRequest::moreButton).
enum class MsgAnswer : int { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7, More = 100 };

struct MessageRequest {
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgDefault defaultButton = MsgDefault::First;
    QString title;              // empty: a title bar without text
    bool programTitle = false;  // true: the platform shows the program's title instead
    QString details{};          // shown on request below the text; empty: none
    QString moreButton{};       // a button that answers More and is neither default nor escape; empty: none
};

// Every message box of the program goes through this interface, so that tests
// can answer them and check what was asked.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual MsgAnswer show(QWidget* parent, const MessageRequest& request) = 0;
};

} // namespace zanto
