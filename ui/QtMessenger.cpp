#include "QtMessenger.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zanto {

namespace {

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgAnswer QtMessenger::show(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(parent);
    box.setIcon(toQt(request.icon));
    // File names are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    if (!request.details.isEmpty())
        box.setDetailedText(request.details);
    // A single space keeps Qt from putting the application name in an empty title.
    box.setWindowTitle(request.programTitle ? QApplication::applicationName()
                                            : (request.title.isEmpty() ? QStringLiteral(" ") : request.title));

    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    QPushButton* third = nullptr;
    switch (request.buttons) {
    case MsgButtons::Ok:
        first = box.addButton(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        first = box.addButton(QMessageBox::Ok);
        second = box.addButton(QMessageBox::Cancel);
        break;
    case MsgButtons::RetryCancel:
        first = box.addButton(QMessageBox::Retry);
        second = box.addButton(QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        third = box.addButton(QMessageBox::Cancel);
        break;
    }
    // Given the place of a help button, which every platform's layout puts
    // beside the asked buttons, never between them (on the right here, on
    // the left under KDE, GNOME and macOS): the arrow keys still go from one
    // asked button to the other as they did.
    const QPushButton* more =
        request.moreButton.isEmpty() ? nullptr : box.addButton(request.moreButton, QMessageBox::HelpRole);
    QPushButton* preferred = (request.defaultButton == MsgDefault::Second && second) ? second : first;
    box.setDefaultButton(preferred);
    box.setEscapeButton(third ? third : (second ? second : first));
    box.exec();

    const QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr && clicked == more)
        return MsgAnswer::More;
    if (third != nullptr)
        return clicked == first ? MsgAnswer::Yes : clicked == second ? MsgAnswer::No : MsgAnswer::Cancel;
    if (request.buttons == MsgButtons::YesNo)
        return clicked == first ? MsgAnswer::Yes : MsgAnswer::No;
    if (clicked == first || clicked == nullptr) {
        if (clicked == nullptr && second)
            return MsgAnswer::Cancel;
        return request.buttons == MsgButtons::RetryCancel ? MsgAnswer::Retry : MsgAnswer::Ok;
    }
    return MsgAnswer::Cancel;
}

} // namespace zanto
