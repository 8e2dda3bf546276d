#include "FileListBox.h"

#include "listing/DirectoryListing.h"
#include "listing/WildcardPattern.h"

namespace zanto {

FileListBox::FileListBox(FileSystem& fileSystem, QWidget* parent)
    : ListBox(parent)
    , m_fileSystem(fileSystem)
{
}

FsError FileListBox::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    return refresh();
}

FsError FileListBox::setPath(const std::string& folder)
{
    m_path = folder;
    return refresh();
}

FsError FileListBox::refresh()
{
    std::vector<std::string> names;
    FsError error = FsError::None;
    if (!m_path.empty())
        error = listMatchingFiles(m_fileSystem, m_path, WildcardPattern(m_pattern.toStdString()), names);
    setItems(std::move(names));
    return error;
}

} // namespace zanto
