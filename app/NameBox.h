#pragma once

#include <QLineEdit>

#include <functional>

namespace zanto {

// A one-line name box whose typed characters pass a filter before the box
// takes them: a refused character never reaches the text, and the refusal
// handler runs once per refused key. Text an input method commits passes the
// same filter: refused characters are dropped, with one refusal per commit.
class NameBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit NameBox(QWidget* parent = nullptr);

    void setCharFilter(std::function<bool(char32_t)> refuses, std::function<void()> onRefused);

signals:
    void gotFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool filtering() const { return m_refuses && !isReadOnly(); }

    std::function<bool(char32_t)> m_refuses;
    std::function<void()> m_onRefused;
};

} // namespace zanto
