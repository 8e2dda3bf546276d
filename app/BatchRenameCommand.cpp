#include "BatchRenameCommand.h"

#include "BatchView.h"
#include "LongWork.h"
#include "Messages.h"
#include "WaitCursor.h"
#include "rename/BatchJournal.h"
#include "rename/BatchRename.h"
#include "rename/BatchTexts.h"
#include "rename/NameRules.h"
#include "ui/NativeName.h"

#include <QApplication>

#include <algorithm>

namespace zanto {

namespace {

constexpr qint64 kCaptionIntervalMs = 40;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string shown(const std::string& native)
{
    return displayName(native).toStdString();
}

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

void BatchRenameCommand::caption(const std::string& text, bool last)
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
    m_view.setCaption(fromUtf8(*m_heldCaption));
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
    const std::string base = nativeName(m_view.baseName());
    if (containsForbidden(base) || containsControl(base)) {
        m_view.clearBaseName();
        m_ask(messages::forbiddenName());
        return;
    }
    const MessageRequest confirm{fromUtf8(confirmText(shown(base))), MsgButtons::OkCancel, MsgIcon::Question,
                                 MsgDefault::Second, fromUtf8(CONFIRM_TITLE)};
    if (m_ask(confirm) != MsgAnswer::Ok)
        return;

    const std::string folder = m_view.folder();
    m_sinceCaption.invalidate();
    m_heldCaption.reset();
    const CheckResult checked = checkPass(
        folder, entries, m_fileSystem,
        [this](const std::string& entry) {
            flushCaption();
            const MessageRequest question{fromUtf8(dropQuestion(shown(entry))), MsgButtons::OkCancel,
                                          MsgIcon::Critical, MsgDefault::First, fromUtf8(DROP_TITLE)};
            if (m_ask(question) != MsgAnswer::Ok)
                return false;
            // The entry leaves the list at once.
            m_view.removeEntry(entry);
            return true;
        },
        [this](std::size_t position) { caption(checkCaption(position), position == 0); });
    if (checked == CheckResult::Cancelled)
        return;

    WaitCursor waiting;
    if (entries.empty())
        return;

    // Between the long steps, whose progress has no caption of its own.
    m_work.keepAlive();
    const BatchPlan plan = planBatch(folder, entries, base, m_fileSystem);
    m_work.keepAlive();
    if (plan.status != PlanStatus::Ready) {
        waiting.release();
        if (plan.status == PlanStatus::NameTooLong)
            m_ask(messages::notice(nameTooLongText(shown(plan.tooLongName)), NOTICE_TITLE));
        else
            m_ask(messages::folderUnreadable(displayName(folder)));
        return;
    }

    waiting.release();
    const auto applied = apply(plan, JournalKind::Batch);
    if (!applied)
        return;
    const BatchReport& report = *applied;
    WaitCursor relisting;

    if (report.stopped()) {
        relisting.release();
        reportStop(plan, report);
        return;
    }

    caption(std::string(END_CAPTION), true);
    m_work.keepAlive();
    m_view.showListing();
    m_view.clearBaseName();
    m_view.clearPicture();
    relisting.release();

    // A file that kept its old or temporary name is never passed over in silence.
    if (const auto unfinished = report.unfinished(); !unfinished.empty()) {
        const auto names = messages::noticeNames(plan, report.states(), unfinished);
        m_ask(messages::fileNotice(notRenamedText(names.size(), names), NOTICE_TITLE, names));
    }
}

std::optional<BatchReport> BatchRenameCommand::apply(const BatchPlan& plan, JournalKind kind)
{
    WaitCursor waiting;
    std::unique_ptr<JournalRun> run;
    if (m_journal != nullptr && !(run = m_journal->begin(plan, kind))) {
        waiting.release();
        m_ask({fromUtf8(JOURNAL_UNWRITABLE_MSG), MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First,
               fromUtf8(STOP_TITLE)});
        return std::nullopt;
    }
    const std::string& folder = plan.folder;
    const std::size_t count = plan.items.size();
    m_sinceCaption.invalidate();
    BatchReport report = applyBatch(
        plan, m_fileSystem,
        [&](BatchPhase phase, std::size_t number) {
            if (phase == BatchPhase::ToTemporary)
                caption(readingCaption(folder, number), number + 1 == count);
            else if (phase == BatchPhase::ToFinal)
                caption(convertingCaption(number), number == 0);
        },
        run.get());
    // A stop that left files on their way keeps the journal for the next
    // start. A journal that cannot be closed waits there too, and that start
    // finds every file where this run left it.
    if (run && !(report.stopped() && !report.unrestored().empty())) {
        const auto& states = report.states();
        const bool renamed = std::find(states.begin(), states.end(), EntryState::Final) != states.end();
        static_cast<void>(run->finish(states, kind == JournalKind::Batch && renamed));
    }
    return report;
}

void BatchRenameCommand::reportStop(const BatchPlan& plan, const BatchReport& report)
{
    flushCaption();
    {
        // The pointer returns to the default once the stop message is answered.
        WaitCursor waiting;
        std::string text(STOP_MSG);
        if (const auto& lost = report.lost())
            text += "\r\n\r\n" + lostFileText(shown(lost->from), shown(lost->to), shown(plan.items[lost->position].original));
        m_ask({fromUtf8(text), MsgButtons::Ok, MsgIcon::Critical, MsgDefault::First, fromUtf8(STOP_TITLE)});
    }
    if (const auto unrestored = report.unrestored(); !unrestored.empty()) {
        const auto names = messages::noticeNames(plan, report.states(), unrestored);
        m_ask(messages::fileNotice(notRestoredText(names.size(), names), NOTICE_TITLE, names));
    }
}

} // namespace zanto
