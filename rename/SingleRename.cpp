#include "SingleRename.h"

#include "rename/PathRule.h"

#include <algorithm>

namespace zanto {

namespace {

SingleOutcome outcomeOf(FsError error)
{
    switch (error) {
    case FsError::None:
        return SingleOutcome::Done;
    case FsError::FileNotFound:
        return SingleOutcome::NotFound;
    case FsError::PathFileAccess:
        return SingleOutcome::AccessRefused;
    case FsError::FileExists:
        return SingleOutcome::NameTaken;
    default:
        return SingleOutcome::Other;
    }
}

// A name of the folder that nothing holds, short enough for any file system.
std::string freeTemporaryName(FileSystem& fs, const std::string& folder)
{
    for (unsigned number = 0;; ++number) {
        std::string name = ".zanto-rename-" + std::to_string(number);
        if (!fs.exists(joinPath(folder, name)))
            return name;
    }
}

// photo.jpg -> Photo.jpg where the file system takes both for one name: away
// to a free name, then to the new one; back again when the second step fails.
SingleOutcome renameThroughTemporary(FileSystem& fs, const std::string& folder, const std::string& from,
                                     const std::string& to)
{
    const std::string temporary = joinPath(folder, freeTemporaryName(fs, folder));
    const FsError away = fs.renameNoReplace(from, temporary);
    if (away != FsError::None)
        return outcomeOf(away);
    const FsError onward = fs.renameNoReplace(temporary, to);
    if (onward == FsError::None)
        return SingleOutcome::Done;
    if (fs.renameNoReplace(temporary, from) != FsError::None)
        return SingleOutcome::Other;
    return outcomeOf(onward);
}

} // namespace

std::string_view singleRenameText(SingleOutcome outcome)
{
    switch (outcome) {
    case SingleOutcome::Done:
        break;
    case SingleOutcome::NotFound:
        return NOT_FOUND_MSG;
    case SingleOutcome::AccessRefused:
        return ACCESS_REFUSED_MSG;
    case SingleOutcome::NameTaken:
        return NAME_TAKEN_MSG;
    case SingleOutcome::Other:
        return RENAME_FAILED_MSG;
    }
    return {};
}

SingleOutcome renameSingle(FileSystem& fs, const std::string& folder, const std::string& oldName,
                           const std::string& newName)
{
    if (newName.empty() || newName.size() > fs.maxNameLength(folder))
        return SingleOutcome::Other;
    if (oldName == newName)
        return SingleOutcome::Done;
    const std::string from = joinPath(folder, oldName);
    const std::string to = joinPath(folder, newName);
    const FsError error = fs.renameNoReplace(from, to);
    if (error == FsError::FileExists && fs.sameFile(from, to))
        return renameThroughTemporary(fs, folder, from, to);
    return outcomeOf(error);
}

bool sortsBefore(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

std::size_t nextSelection(const std::string& typed, const std::string& oldBase, std::size_t k, std::size_t n,
                          const std::string& entryAfterK)
{
    if (k + 1 >= n)
        return 0;
    if (sortsBefore(oldBase, typed) && sortsBefore(entryAfterK, typed))
        return k;
    return k + 1;
}

} // namespace zanto
