#include "DirectoryListing.h"

#include "browse/NaturalOrder.h"
#include "browse/WildcardPattern.h"
#include "ui/NativeFileSystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace zanto {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// d_type settles most entries; links and file systems that do not fill it
// (some network and FUSE ones) need a stat that follows the link.
bool isRegularFile(DIR* dir, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG:
        return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat info {};
        return ::fstatat(::dirfd(dir), entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
    }
    default:
        return false;
    }
}

} // namespace

FsError listMatchingFiles(const std::string& folder, const WildcardPattern& pattern,
                          std::vector<std::string>& names)
{
    names.clear();
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return fsErrorFromErrno(errno, true);

    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                const int error = errno;
                names.clear();
                return fsErrorFromErrno(error, true);
            }
            break;
        }
        const std::string_view name(entry->d_name);
        if (name.empty() || name.front() == '.')
            continue;
        if (pattern.matches(name) && isRegularFile(dir.get(), *entry))
            names.emplace_back(name);
    }
    sortNaturally(names);
    return FsError::None;
}

} // namespace zanto
