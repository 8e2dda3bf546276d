#include "UndoCommand.h"

#include "BatchRenameCommand.h"
#include "Messages.h"
#include "UndoView.h"
#include "rename/BatchJournal.h"
#include "rename/Recovery.h"
#include "ui/NativeName.h"

namespace zanto {

UndoCommand::UndoCommand(UndoView& view, Ask ask, FileSystem& fileSystem, BatchJournal* journal,
                         BatchRenameCommand& batch)
    : m_view(view)
    , m_ask(std::move(ask))
    , m_fileSystem(fileSystem)
    , m_journal(journal)
    , m_batch(batch)
{
}

bool UndoCommand::available() const
{
    return m_journal != nullptr && m_journal->hasRecord();
}

void UndoCommand::run()
{
    const auto record = m_journal != nullptr ? m_journal->lastRecord() : std::nullopt;
    if (!record)
        return;
    if (m_ask(messages::confirmUndo(record->plan.folder)) != MsgAnswer::Ok)
        return;

    const UndoPlan undo = planUndo(*record, m_fileSystem);
    const BatchPlan& plan = undo.plan;
    if (const auto refused = messages::planRefused(plan)) {
        m_ask(*refused);
        return;
    }
    // Files changed since the batch leave the record before anything moves;
    // the blocked ones stay in it for a later undo.
    const bool recorded = undo.record.plan.items.empty() ? m_journal->clearRecord()
                                                          : m_journal->replaceRecord(undo.record);
    if (!recorded) {
        m_ask(messages::journalUnwritable(m_journal->folder(), m_journal->lastError()));
        return;
    }
    std::optional<BatchReport> report;
    if (!plan.items.empty()) {
        report = m_batch.apply(plan, JournalKind::Undo);
        if (!report)
            return;
    }
    m_view.restoreCaption();
    if (m_view.folder() == plan.folder)
        m_view.relist();
    if (report && report->stopped()) {
        m_batch.reportStop(plan, *report);
        return;
    }
    const std::vector<EntryState> ended = record->ended.value_or(
        std::vector<EntryState>(record->plan.items.size(), EntryState::Final));
    const auto tell = [&](MessageRequest (*notice)(const std::vector<messages::NoticeName>&),
                          const std::vector<messages::NoticeName>& names) {
        if (!names.empty())
            m_ask(notice(names));
    };
    tell(messages::leftAlone, messages::noticeNames(record->plan, ended, undo.changed));
    tell(messages::originalTaken, messages::noticeNames(record->plan, ended, undo.blocked));
    if (report) {
        // An undo's own moves run from the batch's names to the names before it.
        std::vector<messages::NoticeName> stuck;
        for (const std::size_t k : report->unfinished())
            stuck.push_back({displayName(BatchReport::currentName(plan.items[k], report->state(k))),
                             displayName(plan.items[k].final)});
        tell(messages::undoNotRestored, stuck);
    }
}

} // namespace zanto
