#pragma once

#include "listing/DirectoryListing.h"

#include <string>

namespace zanto {

// What the folder navigator changes on the window besides the drive selector
// and the folder list: the file list, the rename list and the name panel.
class FolderView {
public:
    virtual ~FolderView() = default;

    // The file list shows `folder`, from `reading` where that is still current.
    virtual void openFiles(const std::string& folder, FolderReading reading) = 0;
    // Simple mode's name box and its labels emptied, the box locked.
    virtual void clearNamePanel() = 0;
    // The rename list refilled from the file list as last read.
    virtual void refillList() = 0;
    // Neither list keeps a selection; each reacts as to a click on nothing.
    virtual void clearSelections() = 0;
    // Selects `name` in the file list, and in the rename list when
    // `inRenameList`, as a click would; a list without it is left alone.
    virtual void selectName(const std::string& name, bool inRenameList) = 0;
};

} // namespace zanto
