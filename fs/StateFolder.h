#pragma once

#include "rename/JournalFiles.h"

#include <cstddef>
#include <string>

namespace zanto {

// The program's state folder on disk, $XDG_STATE_HOME/TOLVA (by default
// ~/.local/state/TOLVA), made on the first write. Its files are only ever
// opened as the plain files the program wrote: a link, a FIFO or a device put
// in their place, or a file of absurd size, reads as no file at all. A held
// journal carries an open-file-description lock, which another process of
// the program sees and which the system drops when the holder dies.
class StateFolder final : public JournalFiles {
public:
    explicit StateFolder(std::string path = defaultPath());

    static std::string defaultPath();
    // The largest file read back (a journal of a few hundred thousand files).
    static constexpr std::size_t kMaxFileSize = 256u << 20;

    using JournalFiles::create;
    std::unique_ptr<OpenJournal> create(const std::string& prefix, const Pieces& pieces, std::size_t room) override;
    Opened open(const std::string& name) override;
    std::vector<std::string> names(const std::string& prefix) override;
    bool write(const std::string& name, const std::string& bytes) override;
    std::optional<std::string> read(const std::string& name) override;
    bool move(const std::string& from, const std::string& to) override;
    bool remove(const std::string& name) override;
    bool syncFolder(const std::string& folder) override;
    std::string pathOf(const std::string& name) const override;
    std::error_code lastError() const override { return m_lastError; }

    // How many times the disk was asked to sync, for the benchmark.
    std::size_t syncs() const { return m_syncs; }

private:
    bool sync(const std::string& path, bool folder);
    bool syncSelf();
    // Notes errno as the reason of the failure under way.
    std::error_code failed();

    std::string m_path;
    std::size_t m_syncs = 0;
    std::error_code m_lastError;
};

} // namespace zanto
