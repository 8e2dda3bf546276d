#pragma once

#include "ui/Messenger.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <utility>

namespace zanto::test {

// Records every message box and answers from a script; with the script empty
// it presses the default button.
class ScriptedMessenger final : public Messenger {
public:
    MsgAnswer show(QWidget*, const MessageRequest& request) override
    {
        m_shown.append(request);
        if (m_onNextShow)
            std::exchange(m_onNextShow, {})();
        if (!m_script.isEmpty())
            return m_script.takeFirst();
        if (request.defaultButton == MsgDefault::Second && request.buttons != MsgButtons::Ok)
            return MsgAnswer::Cancel;
        return request.buttons == MsgButtons::RetryCancel ? MsgAnswer::Retry : MsgAnswer::Ok;
    }

    void answer(MsgAnswer next) { m_script.append(next); }
    // `action` runs while the next box is open, as another program would.
    void onNextShow(std::function<void()> action) { m_onNextShow = std::move(action); }
    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList result;
        for (const auto& request : m_shown)
            result.append(request.text);
        return result;
    }
    void clear() { m_shown.clear(); m_script.clear(); }

private:
    QList<MsgAnswer> m_script;
    QList<MessageRequest> m_shown;
    std::function<void()> m_onNextShow;
};

} // namespace zanto::test
