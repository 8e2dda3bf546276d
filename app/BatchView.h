#pragma once

#include "rename/BatchRename.h"
#include "rename/NewNameTable.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace zanto {

// What the batch rename reads and writes on the window.
class BatchView {
public:
    virtual ~BatchView() = default;

    // The rename list's entries, in the user's order.
    virtual std::vector<std::string> entries() const = 0;
    // Takes the entry named `entry` off the list; the others keep their selection.
    virtual void removeEntry(const std::string& entry) = 0;
    virtual QString baseName() const = 0;
    virtual void clearBaseName() = 0;
    // The folder shown, whose files the list names.
    virtual std::string folder() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    // The folder read again and the rename list refilled from its listing.
    virtual void showListing() = 0;
    virtual void clearPicture() = 0;
    // How the batch numbers: per shot or per file, from where, how wide.
    virtual BatchOptions batchOptions() const = 0;
    // The table of the run's new names, until the user closes it; `search`
    // marks its files of the same content when asked.
    virtual void showNewNames(NewNameTable table, const std::function<void(NewNameTable&)>& search) = 0;
};

} // namespace zanto
