#include "ScriptedMessenger.h"

namespace zanto::test {

MsgAnswer ScriptedMessenger::show(QWidget*, const MessageRequest& request)
{
    m_shown.append(request);
    if (!m_script.isEmpty())
        return m_script.takeFirst();
    const bool second = request.defaultButton == MsgDefault::Second && request.buttons != MsgButtons::Ok;
    if (second)
        return MsgAnswer::Cancel;
    return request.buttons == MsgButtons::RetryCancel ? MsgAnswer::Retry : MsgAnswer::Ok;
}

QStringList ScriptedMessenger::texts() const
{
    QStringList result;
    for (const auto& request : m_shown)
        result.append(request.text);
    return result;
}

} // namespace zanto::test
