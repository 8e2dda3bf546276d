#include "FormViews.h"

#include "Module1.h"
#include "NameBox.h"
#include "ProgramValues.h"
#include "TolvaForm.h"
#include "browse/FileListBox.h"
#include "browse/FolderListBox.h"
#include "browse/ListBox.h"
#include "rename/ShotGroups.h"
#include "ui/NativeName.h"

#include <QLabel>
#include <QMainWindow>

#include <algorithm>

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
    const auto& items = m_form.List->items();
    if (const auto found = std::find(items.begin(), items.end(), entry); found != items.end())
        m_form.List->removeAt(static_cast<int>(found - items.begin()));
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
    m_form.File->refresh();
    // Hidden while it is refilled: one layout for the whole listing.
    list.hide();
    list.setItems(m_values.shots ? shotHeads(m_form.File->items()) : m_form.File->items());
    list.show();
}

void FormViews::clearPicture()
{
    m_form.Image1->clear();
}

BatchOptions FormViews::batchOptions() const
{
    return {m_values.shots, unicodeKey, m_values.numbering};
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

void FormViews::rereadFiles()
{
    m_form.File->refresh();
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
        m_form.File->refresh();
}

} // namespace zanto
