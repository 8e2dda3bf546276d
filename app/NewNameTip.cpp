#include "NewNameTip.h"

#include "browse/ListBox.h"
#include "rename/BatchRename.h"
#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

namespace zanto {

NewNameTip::NewNameTip(ListBox& list, QLineEdit& base, QObject* parent)
    : QObject(parent)
    , m_list(list)
    , m_base(base)
{
    m_list.viewport()->installEventFilter(this);
}

QString NewNameTip::text(int row) const
{
    const std::string base = nativeName(m_base.text());
    if (base.empty() || containsForbidden(base) || containsControl(base) || row < 0 || row >= m_list.count())
        return {};
    const std::string& entry = m_list.item(row);
    const auto count = static_cast<std::size_t>(m_list.count());
    return displayName(entry) + QStringLiteral(" → ")
         + displayName(finalName(base, static_cast<std::size_t>(row), count, entry));
}

bool NewNameTip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_list.indexAt(help->pos());
    const QString tip = index.isValid() ? text(index.row()) : QString();
    if (tip.isEmpty())
        return QObject::eventFilter(watched, event);
    QToolTip::showText(help->globalPos(), NameListModel::plainTip(tip), m_list.viewport(),
                       m_list.visualRect(index));
    return true;
}

} // namespace zanto
