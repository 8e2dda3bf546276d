#include "StartupRecovery.h"

#include "Logging.h"
#include "Messages.h"
#include "WaitCursor.h"
#include "rename/BatchJournal.h"
#include "rename/Recovery.h"

#include <algorithm>

namespace zanto {

namespace {

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
            m_ask(messages::journalDamaged(m_journal.setAside(pending.name)));
            continue;
        }
        const Journal& journal = pending.run->journal();
        const std::string& folder = journal.plan.folder;
        const auto folderMissing = [&] {
            if (journalFolderPresent(journal, m_fileSystem) && !noneFound(journal, m_fileSystem))
                return false;
            m_ask(messages::recoveryFolderMissing(folder));
            return true;
        };
        if (folderMissing())
            continue;
        const bool undo = journal.kind == JournalKind::Undo;
        const MsgAnswer answer = m_ask(messages::recoveryQuestion(folder, undo));
        // The card may have been taken out while the question was open.
        if ((answer != MsgAnswer::Yes && answer != MsgAnswer::No) || folderMissing())
            continue;
        const bool back = answer == MsgAnswer::Yes;
        WaitCursor waiting;
        const BatchReport report = recoverBatch(journal, back ? RecoveryDirection::Back : RecoveryDirection::Forward,
                                                m_fileSystem, pending.run.get());
        waiting.release();
        // A write-protected card, a full disk, a folder gone meanwhile: the
        // journal keeps every name until a later start can finish the work.
        if (report.stopped() || report.blockedBy() != FsError::None) {
            m_ask(messages::recoveryPostponed(folder, report.stopped() ? std::nullopt
                                                                       : std::optional(report.blockedBy())));
            continue;
        }
        const auto stuck = report.notAt(back ? EntryState::Original : EntryState::Final);
        if (!stuck.empty()) {
            const auto names = messages::noticeNames(journal.plan, report.states(), stuck);
            m_ask(back ? messages::notRestored(names) : messages::notRenamed(names));
        }
        // Every file is where it belongs, or the user has seen where each one
        // that is not came from.
        const bool renamed = !back && !undo;
        if (!pending.run->finish(report.states(), renamed))
            logJournalLeft(pending.name);
    }
}

} // namespace zanto
