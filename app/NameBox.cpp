#include "NameBox.h"

#include <QKeyEvent>

namespace zanto {

NameBox::NameBox(QWidget* parent)
    : QLineEdit(parent)
{
}

void NameBox::setCharFilter(std::function<bool(char32_t)> refuses, std::function<void()> onRefused)
{
    m_refuses = std::move(refuses);
    m_onRefused = std::move(onRefused);
}

void NameBox::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (m_refuses && !typed.isEmpty() && !isReadOnly()) {
        for (const char32_t ch : typed.toUcs4()) {
            if (m_refuses(ch)) {
                event->accept();
                if (m_onRefused)
                    m_onRefused();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NameBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}

} // namespace zanto
