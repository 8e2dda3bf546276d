#include "NewNameTip.h"

#include "Messages.h"
#include "browse/ListBox.h"
#include "rename/BatchRename.h"
#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

namespace zanto {

NewNameTip::NewNameTip(ListBox& list, QLineEdit& base, Options options, Folder folder, FileSystem& fileSystem,
                       QObject* parent)
    : QObject(parent)
    , m_list(list)
    , m_base(base)
    , m_options(std::move(options))
    , m_folder(std::move(folder))
    , m_fileSystem(fileSystem)
{
    m_list.viewport()->installEventFilter(this);
}

QString NewNameTip::text(int row) const
{
    const std::string base = nativeName(m_base.text());
    if (base.empty() || containsForbidden(base) || containsControl(base) || row < 0 || row >= m_list.count())
        return {};
    const BatchOptions options = m_options();
    std::vector<std::string> names; // the folder's, for the shots alone
    if (options.shots && m_fileSystem.listNames(m_folder(), names) != FsError::None)
        return {};
    std::vector<std::size_t> shotOf;
    const std::vector<BatchItem> items = batchItems(m_list.items(), base, names, options, &shotOf);
    QStringList lines;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (shotOf[i] == static_cast<std::size_t>(row))
            lines << displayName(items[i].original) + QStringLiteral(" → ") + displayName(items[i].final);
    }
    // An entry of the series the numbers go on with takes no number.
    return lines.isEmpty() ? messages::keepsItsName(m_list.item(row)) : lines.join(u'\n');
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
