#include "StartupRecovery.h"

#include "Messages.h"
#include "WaitCursor.h"
#include "rename/BatchJournal.h"
#include "rename/BatchTexts.h"
#include "rename/Recovery.h"
#include "ui/NativeName.h"


namespace zanto {

namespace {

std::string shown(const std::string& native)
{
    return displayName(native).toStdString();
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
    Journal journal;
    switch (m_journal.pending(journal)) {
    case BatchJournal::Pending::None:
        return;
    case BatchJournal::Pending::Damaged:
        m_ask(messages::notice(journalDamagedText(m_journal.setAside()), NOTICE_TITLE));
        return;
    case BatchJournal::Pending::Unfinished:
        break;
    }
    // A folder on a card not inserted, or moved away: ask at a later start.
    if (!journalFolderPresent(journal, m_fileSystem)) {
        m_ask(messages::notice(recoveryFolderMissingText(shown(journal.folder)), NOTICE_TITLE));
        return;
    }
    const MessageRequest question{QString::fromUtf8(RECOVERY_QUESTION.data(),
                                                    static_cast<qsizetype>(RECOVERY_QUESTION.size())),
                                  MsgButtons::YesNoCancel, MsgIcon::Question, MsgDefault::First,
                                  QString::fromUtf8(NOTICE_TITLE.data(), static_cast<qsizetype>(NOTICE_TITLE.size()))};
    const MsgAnswer answer = m_ask(question);
    if (answer != MsgAnswer::Yes && answer != MsgAnswer::No)
        return;
    const bool back = answer == MsgAnswer::Yes;
    WaitCursor waiting;
    const auto stuck =
        recoverBatch(journal, back ? RecoveryDirection::Back : RecoveryDirection::Forward, m_fileSystem);
    m_journal.closeRecovered(!back);
    waiting.release();
    if (stuck.empty())
        return;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < stuck.size() && i < NOTICE_NAME_LIMIT; ++i)
        names.push_back(shown(stuck[i]));
    m_ask(messages::notice(back ? notRestoredText(stuck.size(), names) : notRenamedText(stuck.size(), names),
                           NOTICE_TITLE));
}

} // namespace zanto
