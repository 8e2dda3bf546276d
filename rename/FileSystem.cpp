#include "FileSystem.h"

#include "rename/ReadableFile.h"
#include "rename/WholeFileLimit.h"

namespace zanto {

FsError FileSystem::openFile(const std::string& path, std::unique_ptr<ReadableFile>& file)
{
    file.reset();
    std::string bytes;
    if (const FsError error = readFile(path, WHOLE_FILE_LIMIT, bytes); error != FsError::None)
        return error;
    file = std::make_unique<MemoryFile>(std::move(bytes));
    return FsError::None;
}

} // namespace zanto
