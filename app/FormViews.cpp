#include "FormViews.h"

#include "FileListReader.h"
#include "Module1.h"
#include "NameBox.h"
#include "NewNamesWindow.h"
#include "ProgramValues.h"
#include "TolvaForm.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/ListBox.h"
#include "browse/PreviewArea.h"
#include "listing/LivePhotoLinks.h"
#include "rename/FileSystem.h"
#include "rename/ShotGroups.h"
#include "ui/NativeName.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QSignalBlocker>

namespace zanto {

std::string FormViews::folder() const
{
    return m_form.Dir->path();
}

std::vector<std::string> FormViews::entries() const
{
    return m_form.List->items();
}

void FormViews::removeEntry(const std::string& entry)
{
    if (const int row = m_form.List->indexOf(entry); row >= 0)
        m_form.List->removeAt(row);
}

QString FormViews::baseName() const
{
    return m_form.txtRENAME->text();
}

void FormViews::clearBaseName()
{
    m_form.txtRENAME->clear();
}

void FormViews::setCaption(const QString& caption)
{
    m_form.window->setWindowTitle(caption);
}

void FormViews::showListing()
{
    ListBox& list = *m_form.List;
    list.clear();
    m_files.reread();
    // Hidden while it is refilled: one layout for the whole listing.
    list.hide();
    refillList();
    list.show();
}

void FormViews::refillList()
{
    const std::vector<std::string>& files = m_form.File->items();
    m_links.reset();
    m_linksRead = false;
    m_form.List->setItems(m_values.shots ? shotHeads(files, caseFoldedKey, shotLinks()) : files);
}

const ShotLinks* FormViews::shotLinks() const
{
    if (!m_values.shots)
        return nullptr;
    std::vector<std::string> names;
    if (!m_linksRead && m_fileSystem.listNames(folder(), names) == FsError::None)
        m_links = std::make_shared<const ShotLinks>(LivePhotoLinks::read(folder(), names, m_fileSystem));
    m_linksRead = true;
    return m_links.get();
}

void FormViews::clearPicture()
{
    m_preview.clearPicture();
}

BatchOptions FormViews::batchOptions() const
{
    shotLinks();
    return {m_values.shots, caseFoldedKey, m_values.numbering, m_values.shots ? m_links : nullptr};
}

void FormViews::showNewNames(NewNameTable table, const std::function<void(NewNameTable&)>& search)
{
    NewNamesWindow window(std::move(table), search, m_form.window);
    window.exec();
}

int FormViews::fileCount() const
{
    return m_form.File->count();
}

int FormViews::selectedFile() const
{
    return m_form.File->listIndex();
}

std::string FormViews::fileAt(int row) const
{
    return m_form.File->item(row);
}

bool FormViews::shots() const
{
    return m_values.shots;
}

void FormViews::rereadFiles()
{
    m_files.reread();
}

void FormViews::selectFile(int row)
{
    m_form.File->setListIndex(row);
}

QString FormViews::typedName() const
{
    return m_form.Text->text();
}

int FormViews::typedNameLimit() const
{
    return m_form.Text->maxLength();
}

void FormViews::setTypedName(const QString& text)
{
    m_form.Text->setText(text);
}

void FormViews::selectTypedName(int length)
{
    m_form.Text->setSelection(0, length);
}

void FormViews::lockNameBox()
{
    m_form.lockNameBox();
}

void FormViews::showNames(const QString& oldName, const QString& newName)
{
    m_form.Label1->setText(oldName);
    m_form.Label2->setText(newName);
}

void FormViews::restoreCaption()
{
    m_form.window->setWindowTitle(Module1::modeCaption(m_values, false));
}

void FormViews::relist()
{
    if (m_values.NOW_MODE.isContinuous())
        showListing();
    else
        m_files.reread();
}

void FormViews::forgetShownFile()
{
    m_form.File->setListIndexQuietly(-1);
    m_form.Label1->clear();
    m_form.Label2->clear();
    m_preview.hideInformation();
}

void FormViews::showShotsChoice(bool on)
{
    const QSignalBlocker quiet(m_form.SHOTS);
    m_form.SHOTS->setChecked(on);
}

void FormViews::openFiles(const std::string& folder, FolderReading reading)
{
    m_files.open(folder, std::move(reading));
}

void FormViews::clearNamePanel()
{
    m_form.clearNamePanel();
}

void FormViews::clearSelections()
{
    m_form.File->setListIndex(-1);
    m_form.List->setListIndex(-1);
}

void FormViews::selectName(const std::string& name, bool inRenameList)
{
    const auto select = [&name](ListBox& box) {
        if (const int row = box.indexOf(name); row >= 0)
            box.setListIndex(row);
    };
    select(*m_form.File);
    if (inRenameList)
        select(*m_form.List);
}

} // namespace zanto
