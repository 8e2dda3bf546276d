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

FsError FileListBox::setPath(const std::string& folder, FolderReading reading)
{
    m_path = folder;
    if (m_path.empty() || !reading.current(m_path))
        return refresh();
    m_watch = std::move(reading.watch);
    setItems(matchingFiles(std::move(reading), WildcardPattern(m_pattern.toStdString())));
    return FsError::None;
}

FsError FileListBox::refresh()
{
    std::vector<std::string> names;
    FsError error = FsError::None;
    // Watched from before the reading: a change made while it runs is seen.
    m_watch = m_path.empty() ? nullptr : m_fileSystem.watch(m_path);
    if (!m_path.empty())
        error = listMatchingFiles(m_fileSystem, m_path, WildcardPattern(m_pattern.toStdString()), names);
    if (error != FsError::None)
        m_watch.reset();
    setItems(std::move(names));
    return error;
}

FsError FileListBox::refreshIfChanged()
{
    if (m_watch && !m_watch->changed())
        return FsError::None;
    return refresh();
}

} // namespace zanto
