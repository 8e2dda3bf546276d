#include "SingleRenameCommand.h"

#include "Logging.h"
#include "Messages.h"
#include "SingleRenameView.h"
#include "rename/FileNameParts.h"
#include "rename/NameRules.h"
#include "rename/ShotGroups.h"
#include "rename/SingleRename.h"
#include "ui/NativeName.h"


#include <algorithm>

namespace zanto {

namespace {

// The native name the name box stands for. Left as seeded, it shows the old
// name decoded (a Shift_JIS name too) and cut to the box's length; it then
// stands for the old name's own bytes, so that Enter renames nothing.
std::string nameInBox(const SingleRenameView& view, const std::string& oldBase)
{
    const QString text = view.typedName();
    if (!oldBase.empty() && text == displayName(oldBase).left(view.typedNameLimit()))
        return oldBase;
    return nativeName(text);
}

} // namespace

SingleRenameCommand::SingleRenameCommand(SingleRenameView& view, Ask ask, FileSystem& fileSystem,
                                         BatchJournal* journal)
    : m_view(view)
    , m_ask(std::move(ask))
    , m_fileSystem(fileSystem)
    , m_journal(journal)
{
}

std::string SingleRenameCommand::selectedName() const
{
    const int row = m_view.selectedFile();
    return row >= 0 ? m_view.fileAt(row) : std::string();
}

Shot SingleRenameCommand::shotOfSelected(const std::string& name) const
{
    if (!m_view.shots())
        return {name, {name}};
    std::vector<std::string> entries;
    for (int row = 0; row < m_view.fileCount(); ++row)
        entries.push_back(m_view.fileAt(row));
    return shotInFolder(m_fileSystem, m_view.folder(), entries, name, caseFoldedKey, m_view.shotLinks());
}

void SingleRenameCommand::showNames()
{
    const std::string selected = selectedName();
    const QString typed = m_view.typedName();
    if (typed.isEmpty() && selected.empty())
        return;
    const QString old = QLatin1Char(' ') + displayName(stemOf(selected));
    m_view.showNames(old, typed.isEmpty() ? old : QLatin1Char(' ') + typed);
}

void SingleRenameCommand::selectWholeName()
{
    const auto length = displayName(selectedName()).size();
    m_view.selectTypedName(static_cast<int>(std::min(length, m_view.typedName().size())));
}

void SingleRenameCommand::renameSelected()
{
    const std::string name = selectedName();
    if (name.empty())
        return;
    const std::string typed = nameInBox(m_view, stemOf(name));
    // The signs are checked as characters: a trail byte of a Shift_JIS name
    // may equal a backslash or a vertical bar while the name holds neither. A
    // name left as it was may keep the control characters it holds.
    const std::string shown = m_view.typedName().toStdString();
    if (containsForbidden(shown) || (typed != stemOf(name) && containsControl(shown))) {
        m_ask(messages::forbiddenName());
        m_view.setTypedName(displayName(name));
        moveToNextFile();
        return;
    }
    m_oldBase = stemOf(name);
    if (typed.empty() || typed == m_oldBase) {
        moveToNextFile();
        return;
    }
    SingleRenameNotes notes;
    std::vector<std::string> left;
    const SingleOutcome outcome =
        renameShot(m_fileSystem, m_view.folder(), shotOfSelected(name), name, typed, left, m_journal, &notes,
                   caseFoldedKey);
    if (!notes.journalLeft.empty())
        logJournalLeft(notes.journalLeft);
    if (outcome == SingleOutcome::Stranded)
        m_ask(messages::stranded(notes.stranded, name));
    else if (outcome == SingleOutcome::NoSafeRename)
        m_ask(messages::noSafeRename(m_view.folder(), m_fileSystem.typeName(m_view.folder())));
    else if (outcome != SingleOutcome::Done)
        m_ask(messages::singleRenameFailed(outcome));
    else if (!left.empty())
        m_ask(messages::shotSplit(left));
    // A taken name stays in the box for the user to correct; a failure of
    // another kind leaves the file, the box and the lists as they are.
    if (outcome == SingleOutcome::NameTaken || outcome == SingleOutcome::Other || outcome == SingleOutcome::Stranded
        || outcome == SingleOutcome::NoSafeRename)
        return;
    moveToNextFile();
}

void SingleRenameCommand::moveToNextFile()
{
    m_view.lockNameBox();
    const std::string typed = nameInBox(m_view, m_oldBase);
    const int k = m_view.selectedFile();
    const int n = m_view.fileCount();
    const std::string next = (k >= 0 && k < n - 1) ? m_view.fileAt(k + 1) : std::string();
    const std::size_t target = nextSelection(typed, m_oldBase, static_cast<std::size_t>(std::max(k, 0)),
                                             static_cast<std::size_t>(n), next);
    m_view.rereadFiles();
    // Files removed meanwhile may leave no entry at that position.
    if (target < static_cast<std::size_t>(m_view.fileCount()))
        m_view.selectFile(static_cast<int>(target));
}

} // namespace zanto
