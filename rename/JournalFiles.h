#pragma once

#include <optional>
#include <string>

namespace zanto {

// The program's own state folder, where the journal of a batch lives. Every
// change is durable when the call returns (written, synced, renamed into
// place, folder synced), so that a power cut leaves the old or the new
// content, never a mixture.
class JournalFiles {
public:
    virtual ~JournalFiles() = default;

    virtual bool write(const std::string& name, const std::string& bytes) = 0;
    virtual std::optional<std::string> read(const std::string& name) = 0;
    // Renames `from` to `to`, replacing it: both are the program's own files.
    virtual bool move(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& name) = 0;
    // Makes the renames inside a user's folder durable.
    virtual void syncFolder(const std::string& folder) = 0;
    // Where a file of the state folder is, for a message.
    virtual std::string pathOf(const std::string& name) const = 0;
};

} // namespace zanto
