#pragma once

#include "rename/JournalFiles.h"

#include <cstddef>
#include <string>

namespace zanto {

// The program's state folder on disk, $XDG_STATE_HOME/TOLVA (by default
// ~/.local/state/TOLVA), made on the first write.
class StateFolder final : public JournalFiles {
public:
    explicit StateFolder(std::string path = defaultPath());

    static std::string defaultPath();

    bool write(const std::string& name, const std::string& bytes) override;
    std::optional<std::string> read(const std::string& name) override;
    bool move(const std::string& from, const std::string& to) override;
    bool remove(const std::string& name) override;
    void syncFolder(const std::string& folder) override;
    std::string pathOf(const std::string& name) const override;

    // How many times the disk was asked to sync, for the benchmark.
    std::size_t syncs() const { return m_syncs; }

private:
    bool sync(const std::string& path, bool folder);

    std::string m_path;
    std::size_t m_syncs = 0;
};

} // namespace zanto
