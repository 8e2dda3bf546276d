#pragma once

#include "rename/FileSystem.h"
#include "ui/NativeFileSystem.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zanto::test {

// The real file system with faults on demand, so that every error branch of
// the renaming code runs against real folders.
class FaultyFileSystem final : public FileSystem {
public:
    enum class Call { Rename, CanOpen, Exists, SameFile, ListNames, MaxNameLength, RemoveFile };

    // The `nth` (1-based) renameNoReplace fails with `error` and moves nothing.
    void failRename(std::size_t nth, FsError error) { m_renameFaults[nth] = error; }
    // Runs `hook` just before the `nth` (1-based) call of the given kind.
    void before(Call call, std::size_t nth, std::function<void()> hook);
    // Names differing only in ASCII case name the same file, as on FAT or NTFS.
    void setCaseInsensitive(bool on) { m_caseInsensitive = on; }
    void setMaxNameLength(std::size_t limit) { m_maxNameLength = limit; }

    std::size_t calls(Call call) const;
    // Every renameNoReplace that reached the disk, as (from, to) bare names.
    const std::vector<std::pair<std::string, std::string>>& renames() const { return m_renames; }

    FsError renameNoReplace(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    FsError listNames(const std::string& folder, std::vector<std::string>& names) override;
    std::size_t maxNameLength(const std::string& folder) override;
    FsError removeFile(const std::string& path) override;
    std::optional<FileStamp> stamp(const std::string& path) override;

private:
    std::size_t count(Call call);
    // The path as it stands on disk: in case-insensitive mode, the entry whose
    // name matches ignoring ASCII case.
    std::string resolve(const std::string& path);

    NativeFileSystem m_native;
    std::map<std::size_t, FsError> m_renameFaults;
    std::map<std::pair<Call, std::size_t>, std::function<void()>> m_hooks;
    std::map<Call, std::size_t> m_calls;
    std::vector<std::pair<std::string, std::string>> m_renames;
    bool m_caseInsensitive = false;
    std::optional<std::size_t> m_maxNameLength;
};

} // namespace zanto::test
