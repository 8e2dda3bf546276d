#pragma once

#include "rename/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace zanto {

// One listed file of a batch: the name it has, the name it takes in the first
// pass, and the name it ends with. All three are bare native names.
struct BatchItem {
    std::string original;
    std::string temporary;
    std::string final;
};

enum class PlanStatus {
    Ready,
    NameTooLong,      // a new name exceeds the folder's limit; nothing may move
    FolderUnreadable, // the folder could not be listed
    NameUnwritable,   // the folder takes no name like one of the run's (read-only, a driver's limit)
};

// A file of the run whose new name a file outside the run holds now, byte for
// byte or by nameKeyOf: on every file system, since folders travel.
struct NameClash {
    std::string original;
    std::string final;

    bool operator==(const NameClash&) const = default;
};

// Everything a batch will do, computed before the first file moves.
struct BatchPlan {
    std::string folder;
    std::optional<FileStamp> folderStamp; // to tell the folder gone from a file gone
    std::string prefix; // common start of the temporary names ("連番17変換失敗")
    std::vector<BatchItem> items; // in the user's order
    // How to know each file again under its original name, when the listing
    // told it (empty otherwise: the journal then asks file by file).
    std::vector<FileStamp> stamps;
    PlanStatus status = PlanStatus::Ready;
    std::string tooLongName;           // the first offending name (NameTooLong)
    // Entries left under their old names, with every file of their shot,
    // because a file outside the run holds a new name of theirs: with shots,
    // the same name; without, a name that differs only in its Unicode form.
    std::vector<std::string> leftOut;
    // Every file of the run whose new name is held (see NameClash), to be told
    // before anything moves: those left out, and those that end under their
    // temporary names.
    std::vector<NameClash> clashes;
    std::string unwritableName;        // the name it does not take (NameUnwritable)
    // Why the folder could not be listed (FolderUnreadable) or takes no such name (NameUnwritable).
    FsError listError = FsError::None;
};

} // namespace zanto
