#pragma once

#include "rename/FileNameParts.h"
#include "rename/FileSystem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zanto {

class BatchJournal;
struct Shot;

// The rename of simple mode: one file of `folder`, never replacing another.

enum class SingleOutcome {
    Done,
    NotFound,      // the file to rename is gone
    AccessRefused, // the file or its folder refuses the change
    NameTaken,     // another file already has the new name
    Other,         // anything else (a name too long, a folder gone, ...)
    Stranded,      // a case-only rename could go neither on nor back
    NoSafeRename,  // the file system cannot rename without risking another file
};

// What a case-only rename leaves to be told besides its outcome.
struct SingleRenameNotes {
    std::string stranded;    // Stranded: the name the file was left under
    std::string journalLeft; // a journal that could not be closed, left for the next start
};

// Renames `oldName` to `newName` (bare native names). A change of case only,
// which a case-insensitive file system sees as the name being taken by the
// file itself, goes through a visible temporary name, journaled when a
// journal is given; `notes` gets what it left behind.
// A name that another file of the folder has by nameKeyOf (`key` and any ASCII
// case) is taken too.
SingleOutcome renameSingle(FileSystem& fs, const std::string& folder, const std::string& oldName,
                           const std::string& newName, BatchJournal* journal = nullptr,
                           SingleRenameNotes* notes = nullptr, const NameKey& key = {});

// Renames every file of `shot` to `newStem` followed by its tail (shotTail),
// `first` (a member) first, each as renameSingle does. None moves when another
// file of the folder holds one of the new names by `key`; the outcome is
// `first`'s. Once `first` has moved, a member that cannot follow it keeps its
// name and is put in `left`, so that the shot is never split unsaid.
SingleOutcome renameShot(FileSystem& fs, const std::string& folder, const Shot& shot, const std::string& first,
                         const std::string& newStem, std::vector<std::string>& left, BatchJournal* journal = nullptr,
                         SingleRenameNotes* notes = nullptr, const NameKey& key = {});

// The position to select after a rename attempt, from the listing before it is
// read again: `typed` is the text of the name box, `oldBase` the old name
// without extension, `k` the selected position of `n` entries, `entryAfterK`
// the entry at k + 1 (ignored when k is the last position). Past the last
// entry the selection wraps to the top; when both the old name and the next
// entry sort before the typed text, the next entry has moved up into k.
std::size_t nextSelection(const std::string& typed, const std::string& oldBase, std::size_t k, std::size_t n,
                          const std::string& entryAfterK);

// Character-code order, case-sensitive; a text sorts before a longer one that
// begins with it, and equal texts sort neither way.
bool sortsBefore(std::string_view a, std::string_view b);

} // namespace zanto
