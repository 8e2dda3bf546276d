#include "FileSystem.h"

#include "rename/ReadableFile.h"

namespace zanto {

FsError FileSystem::openFile(const std::string& path, std::unique_ptr<ReadableFile>& file)
{
    file.reset();
    std::string bytes;
    if (const FsError error = readFile(path, std::size_t{1} << 30, bytes); error != FsError::None)
        return error;
    file = std::make_unique<MemoryFile>(std::move(bytes));
    return FsError::None;
}

} // namespace zanto
