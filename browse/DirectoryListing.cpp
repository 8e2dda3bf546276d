#include "DirectoryListing.h"

#include "browse/NaturalOrder.h"
#include "browse/WildcardPattern.h"

namespace zanto {

FsError listMatchingFiles(FileSystem& fs, const std::string& folder, const WildcardPattern& pattern,
                          std::vector<std::string>& names)
{
    names.clear();
    std::vector<FolderEntry> entries;
    if (const FsError error = fs.listEntries(folder, entries); error != FsError::None)
        return error;
    names.reserve(entries.size());
    for (FolderEntry& entry : entries) {
        if (entry.kind == EntryKind::File && entry.name.front() != '.' && pattern.matches(entry.name))
            names.push_back(std::move(entry.name));
    }
    sortNaturally(names);
    return FsError::None;
}

} // namespace zanto
