#include "StartupRecovery.h"

#include "Messages.h"
#include "WaitCursor.h"
#include "rename/BatchJournal.h"
#include "rename/BatchTexts.h"
#include "rename/Recovery.h"
#include "ui/NativeName.h"

#include <algorithm>

namespace zanto {

namespace {

std::string shown(const std::string& native)
{
    return displayName(native).toStdString();
}

// Nothing of the run is found under any of its names: another card under the
// same mount point, or the files moved elsewhere. The journal waits.
bool noneFound(const Journal& journal, FileSystem& fs)
{
    const auto where = locateEntries(journal, fs);
    return std::all_of(where.begin(), where.end(), [](EntryState state) { return state == EntryState::Missing; });
}

} // namespace

StartupRecovery::StartupRecovery(BatchJournal& journal, FileSystem& fileSystem, Ask ask)
    : m_journal(journal)
    , m_fileSystem(fileSystem)
    , m_ask(std::move(ask))
{
}

void StartupRecovery::run()
{
    for (BatchJournal::Pending& pending : m_journal.pending()) {
        if (!pending.run) {
            m_ask(messages::notice(journalDamagedText(m_journal.setAside(pending.name)), NOTICE_TITLE));
            continue;
        }
        const Journal& journal = pending.run->journal();
        const std::string folder = shown(journal.plan.folder);
        if (!journalFolderPresent(journal, m_fileSystem) || noneFound(journal, m_fileSystem)) {
            m_ask(messages::notice(recoveryFolderMissingText(folder), NOTICE_TITLE));
            continue;
        }
        const bool undo = journal.kind == JournalKind::Undo;
        const MessageRequest question{QString::fromStdString(recoveryQuestion(folder, undo)), MsgButtons::YesNoCancel,
                                      MsgIcon::Question, MsgDefault::First,
                                      QString::fromUtf8(NOTICE_TITLE.data(), static_cast<qsizetype>(NOTICE_TITLE.size()))};
        const MsgAnswer answer = m_ask(question);
        if (answer != MsgAnswer::Yes && answer != MsgAnswer::No)
            continue;
        const bool back = answer == MsgAnswer::Yes;
        WaitCursor waiting;
        const BatchReport report = recoverBatch(journal, back ? RecoveryDirection::Back : RecoveryDirection::Forward,
                                                m_fileSystem, pending.run.get());
        waiting.release();
        const auto stuck = report.notAt(back ? EntryState::Original : EntryState::Final);
        if (!stuck.empty()) {
            const auto names = messages::noticeNames(journal.plan, report.states(), stuck);
            m_ask(messages::fileNotice(back ? notRestoredText(names.size(), names)
                                            : notRenamedText(names.size(), names),
                                       NOTICE_TITLE, names));
        }
        // Every file is where it belongs, or the user has seen where each one
        // that is not came from. A step that could not be recorded leaves the
        // journal for the next start, which finds the files where they are.
        const bool renamed = !back && !undo;
        if (!report.stopped())
            static_cast<void>(pending.run->finish(report.states(), renamed));
    }
}

} // namespace zanto
