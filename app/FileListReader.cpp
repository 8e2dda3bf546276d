#include "FileListReader.h"

#include "Messages.h"
#include "browse/FileListBox.h"
#include "ui/NativeName.h"

namespace zanto {

FileListReader::FileListReader(FileListBox& files, Ask ask)
    : m_files(files)
    , m_ask(std::move(ask))
{
}

void FileListReader::reread()
{
    tell(m_files.refresh());
}

void FileListReader::rereadIfChanged()
{
    tell(m_files.refreshIfChanged());
}

void FileListReader::open(const std::string& folder, FolderReading reading)
{
    tell(m_files.setPath(folder, std::move(reading)));
}

void FileListReader::setPattern(const QString& pattern)
{
    tell(m_files.setPattern(pattern));
}

void FileListReader::tell(FsError error) const
{
    if (error != FsError::None)
        m_ask(messages::folderUnreadable(displayName(m_files.path())));
}

} // namespace zanto
