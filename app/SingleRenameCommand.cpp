#include "SingleRenameCommand.h"

#include "Messages.h"
#include "NameBox.h"
#include "TolvaForm.h"
#include "WindowFields.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "rename/FileNameParts.h"
#include "rename/NameRules.h"
#include "rename/SingleRename.h"
#include "ui/NativeName.h"

#include <QLabel>

#include <algorithm>

namespace zanto {

namespace {

// The native name the name box stands for. Left as seeded, it shows the old
// name decoded (a Shift_JIS name too) and cut to the box's length; it then
// stands for the old name's own bytes, so that Enter renames nothing.
std::string nameInBox(const QLineEdit& box, const std::string& oldBase)
{
    const QString text = box.text();
    if (!oldBase.empty() && text == displayName(oldBase).left(box.maxLength()))
        return oldBase;
    return nativeName(text);
}

} // namespace

SingleRenameCommand::SingleRenameCommand(TolvaForm& form, WindowFields& fields, Ask ask, FileSystem& fileSystem,
                                         BatchJournal* journal)
    : m_form(form)
    , m_fields(fields)
    , m_ask(std::move(ask))
    , m_fileSystem(fileSystem)
    , m_journal(journal)
{
}

void SingleRenameCommand::Text_Change()
{
    TolvaForm& f = m_form;
    const std::string selected = f.File->selectedName();
    const QString typed = f.Text->text();
    if (typed.isEmpty() && selected.empty())
        return;
    const QString old = QLatin1Char(' ') + displayName(stemOf(selected));
    f.Label1->setText(old);
    f.Label2->setText(typed.isEmpty() ? old : QLatin1Char(' ') + typed);
}

void SingleRenameCommand::Text_GotFocus()
{
    // The whole name is selected, so that typing replaces it.
    const auto length = displayName(m_form.File->selectedName()).size();
    m_form.Text->setSelection(0, static_cast<int>(std::min(length, m_form.Text->text().size())));
}

void SingleRenameCommand::cmd_Click()
{
    TolvaForm& f = m_form;
    const std::string name = f.File->selectedName();
    if (name.empty())
        return;
    const std::string typed = nameInBox(*f.Text, stemOf(name));
    // The signs are checked as characters: a trail byte of a Shift_JIS name
    // may equal a backslash or a vertical bar while the name holds neither. A
    // name left as it was may keep the control characters it holds.
    const std::string shown = f.Text->text().toStdString();
    if (containsForbidden(shown) || (typed != stemOf(name) && containsControl(shown))) {
        m_ask(messages::forbiddenName());
        f.Text->setText(displayName(name));
        RIMU();
        return;
    }
    m_fields.OLD_BASE = stemOf(name);
    if (typed.empty() || typed == m_fields.OLD_BASE) {
        RIMU();
        return;
    }
    std::string stranded;
    const SingleOutcome outcome =
        renameSingle(m_fileSystem, f.Dir->path(), name, typed + extensionOf(name), m_journal, &stranded);
    if (outcome == SingleOutcome::Stranded)
        m_ask(messages::stranded(stranded, name));
    else if (outcome != SingleOutcome::Done)
        m_ask(messages::singleRenameFailed(outcome));
    // A taken name stays in the box for the user to correct; a failure of
    // another kind leaves the file, the box and the lists as they are.
    if (outcome == SingleOutcome::NameTaken || outcome == SingleOutcome::Other || outcome == SingleOutcome::Stranded)
        return;
    RIMU();
}

void SingleRenameCommand::RIMU()
{
    m_form.lockNameBox();
    FileListBox& file = *m_form.File;
    const std::string typed = nameInBox(*m_form.Text, m_fields.OLD_BASE);
    const int k = file.listIndex();
    const int n = file.count();
    const std::string next = (k >= 0 && k < n - 1) ? file.item(k + 1) : std::string();
    const std::size_t target = nextSelection(typed, m_fields.OLD_BASE, static_cast<std::size_t>(std::max(k, 0)),
                                             static_cast<std::size_t>(n), next);
    file.refresh();
    // Files removed meanwhile may leave no entry at that position.
    if (target < static_cast<std::size_t>(file.count()))
        file.setListIndex(static_cast<int>(target));
}

} // namespace zanto
