#include "NameBox.h"

#include <QInputMethodEvent>
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
    if (filtering() && !typed.isEmpty()) {
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

void NameBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (!filtering() || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    bool refused = false;
    for (const char32_t ch : event->commitString().toUcs4()) {
        if (m_refuses(ch))
            refused = true;
        else
            kept.append(QString::fromUcs4(&ch, 1));
    }
    if (!refused) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    if (m_onRefused)
        m_onRefused();
}

void NameBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit gotFocus();
}

} // namespace zanto
