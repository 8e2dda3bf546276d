#pragma once

#include "fs/NativeFileSystem.h"
#include "rename/FileSystem.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanto::test {

// The real file system with faults on demand, so that every error branch of
// the renaming code runs against real folders.
class FaultyFileSystem final : public FileSystem {
public:
    // The `nth` (1-based) renameNoReplace fails with `error` and moves nothing.
    void failRename(std::size_t nth, FsError error) { m_renameFaults[nth] = error; }
    // `action` runs just before the `nth` renameNoReplace, as another program would.
    void beforeRename(std::size_t nth, std::function<void()> action) { m_renameActions[nth] = std::move(action); }
    // Names differing only in ASCII case name the same file, as on FAT or NTFS.
    void setCaseInsensitive(bool on) { m_caseInsensitive = on; }
    void setMaxNameLength(std::size_t limit) { m_maxNameLength = limit; }
    // Reading a folder hands over what it read, then fails with `error`.
    void failReading(FsError error) { m_readFault = error; }
    // readFile fails with `error`; openFile, which reads pieces, still works.
    void failWholeReads(FsError error) { m_wholeReadFault = error; }
    // Stamps as a card's driver gives them, its inode numbers made up: files
    // are told apart by size and modification time alone.
    void setInodesLasting(bool on) { m_inodesLast = on; }
    std::size_t renameCalls() const { return m_renames; }
    // How many times a folder was read, by any call.
    std::size_t folderReads() const { return m_folderReads; }
    // Folders are watched as the real file system watches them; off, never.
    void watchFolders(bool on) { m_watching = on; }
    // `hook` runs first in each stamp, readFile and openFile, and last in each
    // readEntries and listNames, on the caller's thread: the preview, the file
    // list and the new-name tip call those from workers.
    using AccessHook = std::function<void(std::string_view call, const std::string& path)>;
    void onAccess(AccessHook hook) { m_onAccess = std::move(hook); }

    FsError renameNoReplace(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) override { return m_native.canOpenForReading(resolve(path)); }
    bool exists(const std::string& path) override { return m_native.exists(resolve(path)); }
    bool existsUncached(const std::string& path) override { return m_native.existsUncached(resolve(path)); }
    FsError probeName(const std::string& folder, const std::string& name) override
    {
        return m_probeAnswer ? *m_probeAnswer : m_native.probeName(folder, name);
    }
    // Every probe of a name answers `error`; None: as if the folder took any name.
    void answerProbes(FsError error) { m_probeAnswer = error; }
    bool sameFile(const std::string& a, const std::string& b) override { return m_native.sameFile(resolve(a), resolve(b)); }
    FsError listNames(const std::string& folder, std::vector<std::string>& names) override
    {
        ++m_folderReads;
        const FsError error = m_native.listNames(folder, names);
        access("listNames", folder);
        return error;
    }
    FsError readEntries(const std::string& folder, const EntryBatchTaker& take) override
    {
        ++m_folderReads;
        const FsError error = m_native.readEntries(folder, take);
        access("readEntries", folder);
        return m_readFault ? *m_readFault : error;
    }
    FsError status(const std::string& path, FileStatus& status) override { return m_native.status(resolve(path), status); }
    FsError readFile(const std::string& path, std::size_t limit, std::string& bytes) override
    {
        access("readFile", path);
        return m_wholeReadFault ? *m_wholeReadFault : m_native.readFile(resolve(path), limit, bytes);
    }
    FsError openFile(const std::string& path, std::unique_ptr<ReadableFile>& file) override
    {
        access("openFile", path);
        return m_native.openFile(resolve(path), file);
    }
    std::size_t maxNameLength(const std::string& folder) override
    {
        return m_maxNameLength ? *m_maxNameLength : m_native.maxNameLength(folder);
    }
    FsError removeFile(const std::string& path) override { return m_native.removeFile(resolve(path)); }
    std::string typeName(const std::string& path) override { return m_native.typeName(path); }
    std::optional<FileStamp> stamp(const std::string& path) override;
    std::unique_ptr<FolderWatch> watch(const std::string& folder) override
    {
        return m_watching ? m_native.watch(folder) : nullptr;
    }

private:
    // The path as it stands on disk: in case-insensitive mode, the entry whose
    // name matches ignoring ASCII case.
    std::string resolve(const std::string& path);
    void access(std::string_view call, const std::string& path) const
    {
        if (m_onAccess)
            m_onAccess(call, path);
    }

    NativeFileSystem m_native;
    std::map<std::size_t, FsError> m_renameFaults;
    std::map<std::size_t, std::function<void()>> m_renameActions;
    std::size_t m_renames = 0;
    std::size_t m_folderReads = 0;
    bool m_watching = false;
    std::optional<FsError> m_readFault;
    std::optional<FsError> m_wholeReadFault;
    std::optional<FsError> m_probeAnswer;
    bool m_caseInsensitive = false;
    bool m_inodesLast = true;
    std::optional<std::size_t> m_maxNameLength;
    AccessHook m_onAccess;
};

} // namespace zanto::test
