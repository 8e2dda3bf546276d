#include "UndoCommand.h"

#include "BatchRenameCommand.h"
#include "Messages.h"
#include "Module1.h"
#include "ProgramValues.h"
#include "SettingsKeys.h"
#include "TolvaForm.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "rename/BatchJournal.h"
#include "rename/BatchTexts.h"
#include "rename/Recovery.h"
#include "ui/NativeName.h"

#include <QMainWindow>

namespace zanto {

UndoCommand::UndoCommand(TolvaForm& form, const ProgramValues& values, Ask ask, FileSystem& fileSystem,
                         BatchJournal* journal, BatchRenameCommand& batch)
    : m_form(form)
    , m_values(values)
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
    const QString folder = displayName(record->folder);
    const MessageRequest confirm{QString::fromStdString(undoConfirmText(folder.toStdString())),
                                 MsgButtons::OkCancel, MsgIcon::Question, MsgDefault::Second,
                                 QString::fromUtf8(UNDO_TITLE.data(), static_cast<qsizetype>(UNDO_TITLE.size()))};
    if (m_ask(confirm) != MsgAnswer::Ok)
        return;

    std::vector<std::string> leftAlone;
    const BatchPlan plan = planUndo(*record, m_fileSystem, leftAlone);
    if (plan.status == PlanStatus::FolderUnreadable) {
        m_ask(messages::folderUnreadable(folder));
        return;
    }
    if (plan.status == PlanStatus::NameTooLong) {
        m_ask(messages::notice(nameTooLongText(displayName(plan.tooLongName).toStdString()), NOTICE_TITLE));
        return;
    }
    const auto report = m_batch.apply(plan, false);
    if (!report)
        return;
    m_journal->clearRecord();
    m_form.window->setWindowTitle(Module1::modeCaption(m_values, false));
    if (m_form.Dir->path() == plan.folder) {
        if (m_values.NOW_MODE == settings::kModeContinuous)
            m_batch.rebuildList();
        else
            m_form.File->refresh();
    }
    if (report->stopped()) {
        m_batch.reportStop(plan, *report);
        return;
    }
    const auto unfinished = report->unfinished();
    for (const std::string& name : report->currentNames(plan, unfinished, unfinished.size()))
        leftAlone.push_back(name);
    if (leftAlone.empty())
        return;
    std::vector<std::string> shown;
    for (const std::string& name : leftAlone)
        shown.push_back(displayName(name).toStdString());
    m_ask(messages::notice(leftAloneText(shown.size(), shown), UNDO_TITLE));
}

} // namespace zanto
