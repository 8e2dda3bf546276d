#include "BatchRenameCommand.h"

#include "BatchView.h"
#include "Logging.h"
#include "LongWork.h"
#include "Messages.h"
#include "WaitCursor.h"
#include "rename/BatchJournal.h"
#include "rename/BatchRename.h"
#include "rename/NewNameTable.h"
#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QApplication>

#include <algorithm>

namespace zanto {

namespace {

constexpr qint64 kCaptionIntervalMs = 40;

} // namespace

BatchRenameCommand::BatchRenameCommand(BatchView& view, Ask ask, FileSystem& fileSystem, LongWork& work,
                                       BatchJournal* journal)
    : m_view(view)
    , m_ask(std::move(ask))
    , m_fileSystem(fileSystem)
    , m_work(work)
    , m_journal(journal)
{
}

void BatchRenameCommand::caption(const QString& text, bool last)
{
    m_work.keepAlive();
    m_heldCaption = text;
    if (!last && m_sinceCaption.isValid() && m_sinceCaption.elapsed() < kCaptionIntervalMs)
        return;
    flushCaption();
}

void BatchRenameCommand::flushCaption()
{
    if (!m_heldCaption)
        return;
    m_view.setCaption(*m_heldCaption);
    m_heldCaption.reset();
    m_sinceCaption.start();
}

void BatchRenameCommand::run()
{
    std::vector<std::string> entries = m_view.entries();
    if (entries.empty()) {
        m_view.clearBaseName();
        return;
    }
    const std::optional<std::string> typed = typedBase();
    if (!typed)
        return;
    const std::string& base = *typed;
    const BatchOptions options = m_view.batchOptions();
    const std::string folder = m_view.folder();
    // The run is planned once, and a new name held by a file outside the run
    // is told from that plan before anything is asked or moved; the user may
    // stop here.
    BatchPlan plan = planRun(folder, entries, base, options);
    // The check only ever drops entries.
    const std::size_t planned = entries.size();
    // Begun after the plan, whose probe of the names it gives comes and goes.
    std::unique_ptr<FolderWatch> watch = m_fileSystem.watch(folder);
    if (!plan.clashes.empty() && m_ask(messages::clashesAhead(plan.clashes)) != MsgAnswer::Yes)
        return;
    const std::vector<NameClash> told = plan.clashes;
    // The table shown from here is the plan that runs.
    MessageRequest confirmation = messages::confirmBatch(base);
    if (plan.status == PlanStatus::Ready)
        confirmation.moreButton = messages::newNamesButton();
    MsgAnswer answer = m_ask(confirmation);
    for (; answer == MsgAnswer::More; answer = m_ask(confirmation))
        showTable(plan, entries, base, options);
    if (answer != MsgAnswer::Ok)
        return;

    m_sinceCaption.invalidate();
    m_heldCaption.reset();
    const CheckResult checked = checkPass(
        folder, entries, m_fileSystem,
        [this](const std::string& entry) {
            flushCaption();
            if (m_ask(messages::dropEntry(entry)) != MsgAnswer::Ok)
                return false;
            // The entry leaves the list at once.
            m_view.removeEntry(entry);
            return true;
        },
        [this](std::size_t position) { caption(messages::checkCaption(position), position == 0); });
    if (checked == CheckResult::Cancelled)
        return;

    WaitCursor waiting;
    if (entries.empty())
        return;
    // Planned again only where the plan may no longer hold: an entry dropped
    // by the check, or a folder changed (or not watched) while the user was
    // asked.
    const bool unchanged = watch && !watch->changed();
    // Let go before the renames, each of which the kernel would queue for it.
    watch.reset();
    if (entries.size() != planned || !unchanged || plan.status != PlanStatus::Ready) {
        plan = planRun(folder, entries, base, options);
        // Entries dropped by the check renumber those after them: clashes
        // other than those told are told before anything moves.
        if (!plan.clashes.empty() && plan.clashes != told) {
            waiting.release();
            if (m_ask(messages::clashesAhead(plan.clashes)) != MsgAnswer::Yes)
                return;
        }
    }
    if (const auto refused = messages::planRefused(plan)) {
        waiting.release();
        m_ask(*refused);
        return;
    }

    waiting.release();
    const auto applied = apply(plan, JournalKind::Batch);
    if (!applied)
        return;
    m_draws.clear();
    const BatchReport& report = *applied;
    WaitCursor relisting;

    if (report.stopped()) {
        relisting.release();
        reportStop(plan, report);
        return;
    }

    // A file that kept its old or temporary name is never passed over in silence.
    std::vector<MessageRequest> notices;
    if (const auto unfinished = report.unfinished(); !unfinished.empty())
        notices.push_back(messages::notRenamed(messages::noticeNames(plan, report.states(), unfinished)));
    if (!plan.leftOut.empty())
        notices.push_back(messages::leftOut(plan.leftOut, options.shots));
    // The plan is let go before the folder is listed again, so that a large
    // run never holds both at once.
    plan = {};

    caption(messages::batchEndCaption(), true);
    m_work.keepAlive();
    m_view.showListing();
    m_view.clearBaseName();
    m_view.clearPicture();
    relisting.release();
    for (const MessageRequest& notice : notices)
        m_ask(notice);
}

std::optional<std::string> BatchRenameCommand::typedBase()
{
    std::string base = nativeName(m_view.baseName());
    if (containsForbidden(base) || containsControl(base)) {
        m_view.clearBaseName();
        m_ask(messages::forbiddenName());
        return std::nullopt;
    }
    return base;
}

void BatchRenameCommand::showNewNames()
{
    const std::vector<std::string> entries = m_view.entries();
    if (entries.empty())
        return;
    const std::optional<std::string> base = typedBase();
    if (!base)
        return;
    const BatchOptions options = m_view.batchOptions();
    const BatchPlan plan = planRun(m_view.folder(), entries, *base, options);
    if (const auto refused = messages::planRefused(plan)) {
        m_ask(*refused);
        return;
    }
    showTable(plan, entries, *base, options);
}

void BatchRenameCommand::showTable(const BatchPlan& plan, const std::vector<std::string>& entries,
                                   const std::string& base, const BatchOptions& options)
{
    NewNameTable table;
    {
        WaitCursor waiting;
        std::vector<std::string> names;
        if (m_fileSystem.listNames(plan.folder, names) != FsError::None)
            names.clear();
        table = newNameTable(plan, entries, base, names, options, keepingAlive());
    }
    const std::string folder = plan.folder;
    m_view.showNewNames(std::move(table), [this, folder](NewNameTable& shown) {
        markSameContent(shown, folder, m_fileSystem, keepingAlive());
    });
}

BatchPlan BatchRenameCommand::planRun(const std::string& folder, const std::vector<std::string>& entries,
                                      const std::string& base, const BatchOptions& options)
{
    WaitCursor waiting;
    return planBatch(folder, entries, base, m_fileSystem, planDraws(), options, keepingAlive());
}

RandomSource BatchRenameCommand::planDraws()
{
    return [this, next = std::size_t{0}]() mutable {
        if (next == m_draws.size())
            m_draws.push_back(m_fresh());
        return m_draws[next++];
    };
}

Pulse BatchRenameCommand::keepingAlive()
{
    // Between the long steps, whose progress has no caption of its own.
    return [this] { m_work.keepAlive(); };
}

std::optional<BatchReport> BatchRenameCommand::apply(const BatchPlan& plan, JournalKind kind)
{
    WaitCursor waiting;
    std::unique_ptr<JournalRun> run;
    if (m_journal != nullptr && !(run = m_journal->begin(plan, kind, keepingAlive()))) {
        waiting.release();
        m_ask(messages::journalUnwritable(m_journal->folder(), m_journal->lastError()));
        return std::nullopt;
    }
    const std::string& folder = plan.folder;
    const std::size_t count = plan.items.size();
    m_sinceCaption.invalidate();
    BatchReport report = applyBatch(
        plan, m_fileSystem,
        [&](BatchPhase phase, std::size_t number) {
            if (phase == BatchPhase::ToTemporary)
                caption(messages::readingCaption(folder, number), number + 1 == count);
            else if (phase == BatchPhase::ToFinal)
                caption(messages::convertingCaption(number), number == 0);
        },
        run.get());
    // A stop that left files on their way keeps the journal for the next
    // start. A journal that cannot be closed waits there too, and that start
    // finds every file where this run left it.
    if (run && !(report.stopped() && !report.unrestored().empty())) {
        const auto& states = report.states();
        const bool renamed = std::find(states.begin(), states.end(), EntryState::Final) != states.end();
        if (!run->finish(states, kind == JournalKind::Batch && renamed))
            logJournalLeft(run->name());
    }
    return report;
}

void BatchRenameCommand::reportStop(const BatchPlan& plan, const BatchReport& report)
{
    flushCaption();
    {
        // The pointer returns to the default once the stop message is answered.
        WaitCursor waiting;
        const bool noSafeRename = report.error() == FsError::NoSafeRename;
        m_ask(messages::batchStopped(plan, report, noSafeRename ? m_fileSystem.typeName(plan.folder) : std::string()));
    }
    if (const auto unrestored = report.unrestored(); !unrestored.empty()) {
        m_ask(messages::notRestored(messages::noticeNames(plan, report.states(), unrestored)));
    }
}

} // namespace zanto
