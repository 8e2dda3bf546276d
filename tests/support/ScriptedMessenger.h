#pragma once

#include "ui/Messenger.h"

#include <QList>

namespace zanto::test {

// Records every message box and answers from a script; with the script empty
// it presses the default button.
class ScriptedMessenger final : public Messenger {
public:
    MsgAnswer show(QWidget* parent, const MessageRequest& request) override;

    void answer(MsgAnswer next) { m_script.append(next); }
    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); m_script.clear(); }

private:
    QList<MsgAnswer> m_script;
    QList<MessageRequest> m_shown;
};

} // namespace zanto::test
