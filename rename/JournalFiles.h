#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace zanto {

// A journal file held open, and locked for as long as it is held, so that
// another copy of the program sharing the state folder leaves it alone.
class OpenJournal {
public:
    virtual ~OpenJournal() = default; // closing releases the lock

    // The file's name in the state folder.
    [[nodiscard]] virtual const std::string& name() const = 0;
    // Adds `bytes` at the end; durable when it returns true. A failed append
    // leaves the file as it was, or else refuses every later one: a line
    // written after a torn one would read as part of it.
    [[nodiscard]] virtual bool append(const std::string& bytes) = 0;
    // Keeps room on the disk for `bytes` more, so that the appends of a run
    // do not fail on a disk that fills meanwhile. False only when the disk
    // lacks that room; where a file system cannot reserve, true.
    [[nodiscard]] virtual bool reserve(std::size_t bytes) = 0;
    // Drops every byte past the first `size` (a torn last line); needs no
    // free space.
    [[nodiscard]] virtual bool cutTo(std::size_t size) = 0;
};

// The program's own state folder, where the journals of runs live. Every
// change is durable when the call returns (written, synced, renamed into
// place, folder synced), so that a power cut leaves the old or the new
// content, never a mixture.
class JournalFiles {
public:
    virtual ~JournalFiles() = default;

    // Hands over a file's bytes a piece at a time; false when none is left.
    using Pieces = std::function<bool(std::string& piece)>;
    // A new file named `prefix` and something no other file of the folder has
    // ever been named, holding the `pieces` and held, with `room` kept for its
    // appends (see OpenJournal::reserve). It gets that name only once whole.
    // None when it cannot be written.
    [[nodiscard]] virtual std::unique_ptr<OpenJournal> create(const std::string& prefix, const Pieces& pieces,
                                                              std::size_t room = 0) = 0;
    // The same with the bytes at hand.
    [[nodiscard]] std::unique_ptr<OpenJournal> create(const std::string& prefix, const std::string& bytes,
                                                      std::size_t room = 0)
    {
        bool given = false;
        return create(prefix, Pieces([&](std::string& piece) {
            piece = given ? std::string() : bytes;
            return !std::exchange(given, true);
        }), room);
    }

    struct Opened {
        std::unique_ptr<OpenJournal> file; // none: missing, unreadable, not a plain file, or too large
        std::string bytes;
        bool busy = false; // held by another running copy
    };
    // Opens and holds an existing file, with its bytes.
    [[nodiscard]] virtual Opened open(const std::string& name) = 0;
    // The names of the files of the folder that start with `prefix`, in name order.
    [[nodiscard]] virtual std::vector<std::string> names(const std::string& prefix) = 0;

    // Replaces the whole content of `name`.
    [[nodiscard]] virtual bool write(const std::string& name, const std::string& bytes) = 0;
    [[nodiscard]] virtual std::optional<std::string> read(const std::string& name) = 0;
    // Renames `from` to `to`, replacing it: both are the program's own files.
    [[nodiscard]] virtual bool move(const std::string& from, const std::string& to) = 0;
    [[nodiscard]] virtual bool remove(const std::string& name) = 0;
    // Makes the renames inside a user's folder durable.
    [[nodiscard]] virtual bool syncFolder(const std::string& folder) = 0;
    // Why the last call that failed did (an errno value); none after a success.
    [[nodiscard]] virtual std::error_code lastError() const = 0;
    // Where a file of the state folder is, for a message.
    [[nodiscard]] virtual std::string pathOf(const std::string& name) const = 0;
};

} // namespace zanto
