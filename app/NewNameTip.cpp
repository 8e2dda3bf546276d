#include "NewNameTip.h"

#include "Messages.h"
#include "browse/ListBox.h"
#include "rename/BatchRename.h"
#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolTip>

#include <chrono>
#include <exception>
#include <utility>

namespace zanto {

namespace {

// A base name the batch would take; with any other, no new name is told.
bool usableBase(const std::string& base)
{
    return !base.empty() && !containsForbidden(base) && !containsControl(base);
}

} // namespace

NewNameTip::NewNameTip(ListBox& list, QLineEdit& base, Options options, Folder folder, FileSystem& fileSystem,
                       QObject* parent)
    : QObject(parent)
    , m_list(list)
    , m_base(base)
    , m_options(std::move(options))
    , m_folder(std::move(folder))
    , m_fileSystem(fileSystem)
    , m_aheadDelay(new QTimer(this))
{
    m_list.viewport()->installEventFilter(this);
    const QAbstractItemModel* model = m_list.model();
    const auto changed = [this] { listChanged(); };
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::rowsMoved, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, changed);
    // A held ↑ or a name being typed starts one working-out, once it pauses.
    m_aheadDelay->setSingleShot(true);
    m_aheadDelay->setInterval(150);
    connect(m_aheadDelay, &QTimer::timeout, this, [this] { workAhead(); });
    connect(&m_base, &QLineEdit::textChanged, m_aheadDelay, qOverload<>(&QTimer::start));
}

NewNameTip::~NewNameTip()
{
    m_ahead.reset(); // its thread is done with this object before it goes
}

std::optional<NewNameTip::Names> NewNameTip::workOut(const std::vector<std::string>& entries, Inputs inputs,
                                                     const NameKey& nameKey, FileSystem& fileSystem, Purpose purpose)
{
    Names names{std::move(inputs), nullptr, {}, {}};
    const std::string& folder = names.inputs.folder;
    const BatchOptions options{names.inputs.shots, nameKey, names.inputs.numbering};
    std::vector<std::string> inFolder; // the folder's, for the shots alone
    if (options.shots) {
        names.watch = fileSystem.watch(folder);
        // Unwatched (FUSE, overlay, shares), names worked out ahead could never be trusted.
        if ((!names.watch && purpose == Purpose::Ahead) || fileSystem.listNames(folder, inFolder) != FsError::None)
            return std::nullopt;
    }
    names.items = batchItems(entries, names.inputs.base, inFolder, options, &names.shotOf);
    return names;
}

NewNameTip::Inputs NewNameTip::inputsFor(const std::string& base, const BatchOptions& options) const
{
    return {base, m_folder(), options.shots, options.numbering};
}

bool NewNameTip::fits(const Names& names, const Inputs& inputs)
{
    return names.inputs == inputs && (!inputs.shots || (names.watch && !names.watch->changed()));
}

const NewNameTip::Names* NewNameTip::namesFor(const std::string& base) const
{
    const BatchOptions options = m_options();
    const Inputs now = inputsFor(base, options);
    if (m_names && fits(*m_names, now))
        return &*m_names;
    m_names.reset();
    // Names being worked out for this very list and these inputs are waited
    // for; any others would be the wrong ones.
    if (m_ahead && m_ahead->listVersion == m_listVersion && m_ahead->inputs == now) {
        std::optional<Names> names = finishAhead(); // throws what the working-out threw
        if (names && fits(*names, now)) {
            m_names = std::move(names);
            return &*m_names;
        }
    }
    m_names = workOut(m_list.items(), now, options.nameKey, m_fileSystem);
    return m_names ? &*m_names : nullptr;
}

void NewNameTip::listChanged()
{
    m_names.reset();
    ++m_listVersion;
    m_aheadDelay->start();
}

void NewNameTip::workAhead()
{
    if (m_list.count() < kAheadFrom)
        return;
    if (m_ahead) {
        m_aheadAgain = true; // started again when this one is done
        return;
    }
    const std::string base = nativeName(m_base.text());
    if (!usableBase(base))
        return;
    const BatchOptions options = m_options();
    Inputs inputs = inputsFor(base, options);
    if (m_names && fits(*m_names, inputs))
        return;
    std::promise<std::optional<Names>> promise;
    m_ahead.emplace(Ahead{m_listVersion, inputs, promise.get_future(), {}});
    m_ahead->worker = std::jthread(
        [this, promise = std::move(promise), entries = m_list.items(), inputs = std::move(inputs),
         nameKey = options.nameKey]() mutable {
            try {
                promise.set_value(workOut(entries, std::move(inputs), nameKey, m_fileSystem, Purpose::Ahead));
            } catch (...) { // thrown again where the names are taken
                promise.set_exception(std::current_exception());
            }
            QMetaObject::invokeMethod(this, [this] { takeAhead(); }, Qt::QueuedConnection);
        });
}

std::optional<NewNameTip::Names> NewNameTip::finishAhead() const
{
    std::future<std::optional<Names>> names = std::move(m_ahead->names);
    m_ahead.reset(); // a worker that failed is gone too
    return names.get();
}

void NewNameTip::takeAhead()
{
    using namespace std::chrono_literals;
    // The tip may have taken them already; a later working-out tells of its own end.
    if (m_ahead) {
        if (m_ahead->names.wait_for(0s) != std::future_status::ready)
            return;
        const bool current = m_ahead->listVersion == m_listVersion;
        std::optional<Names> names;
        try {
            names = finishAhead();
        } catch (...) { // dropped: a tip works the names out itself, and fails there
        }
        if (current && names && !m_names) {
            m_names = std::move(names); // checked again when used: the base name may change meanwhile
            if (fits(*m_names, inputsFor(nativeName(m_base.text()), m_options())))
                emit namesReady();
        }
    }
    if (std::exchange(m_aheadAgain, false))
        workAhead();
}

QString NewNameTip::text(int row) const
{
    const std::string base = nativeName(m_base.text());
    if (!usableBase(base) || row < 0 || row >= m_list.count())
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

QString NewNameTip::shownText(int row) const
{
    QString tip = text(row);
    const QString taken = m_takenLine ? m_takenLine(m_list.item(row)) : QString();
    if (taken.isEmpty())
        return tip;
    return (tip.isEmpty() ? displayName(m_list.item(row)) : tip) + u'\n' + taken;
}

bool NewNameTip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_list.indexAt(help->pos());
    const QString tip = index.isValid() ? shownText(index.row()) : QString();
    if (tip.isEmpty())
        return QObject::eventFilter(watched, event);
    QToolTip::showText(help->globalPos(), NameListModel::plainTip(tip), m_list.viewport(),
                       m_list.visualRect(index));
    return true;
}

} // namespace zanto
