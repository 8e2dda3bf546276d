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
    const QAbstractItemModel* model = m_list.model();
    const auto drop = [this] { m_names.reset(); };
    connect(model, &QAbstractItemModel::modelReset, this, drop);
    connect(model, &QAbstractItemModel::rowsInserted, this, drop);
    connect(model, &QAbstractItemModel::rowsRemoved, this, drop);
    connect(model, &QAbstractItemModel::rowsMoved, this, drop);
    connect(model, &QAbstractItemModel::dataChanged, this, drop);
    connect(model, &QAbstractItemModel::layoutChanged, this, drop);
}

const NewNameTip::Names* NewNameTip::namesFor(const std::string& base) const
{
    const BatchOptions options = m_options();
    const std::string folder = m_folder();
    if (m_names && m_names->base == base && m_names->folder == folder && m_names->shots == options.shots
        && m_names->numbering == options.numbering
        && (!options.shots || (m_names->watch && !m_names->watch->changed())))
        return &*m_names;
    m_names.reset();
    Names names{base, folder, options.shots, options.numbering, nullptr, {}, {}};
    std::vector<std::string> inFolder; // the folder's, for the shots alone
    if (options.shots) {
        names.watch = m_fileSystem.watch(folder);
        if (m_fileSystem.listNames(folder, inFolder) != FsError::None)
            return nullptr;
    }
    names.items = batchItems(m_list.items(), base, inFolder, options, &names.shotOf);
    m_names = std::move(names);
    return &*m_names;
}

QString NewNameTip::text(int row) const
{
    const std::string base = nativeName(m_base.text());
    if (base.empty() || containsForbidden(base) || containsControl(base) || row < 0 || row >= m_list.count())
        return {};
    const Names* names = namesFor(base);
    if (names == nullptr)
        return {};
    QStringList lines;
    for (std::size_t i = 0; i < names->items.size(); ++i) {
        if (names->shotOf[i] == static_cast<std::size_t>(row))
            lines << displayName(names->items[i].original) + QStringLiteral(" → ") + displayName(names->items[i].final);
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
