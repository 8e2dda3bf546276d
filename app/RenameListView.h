#pragma once

#include "rename/ShotGroups.h"

#include <QString>

#include <string>

namespace zanto {

// What the rename list's controller reads and writes on the window besides
// the list itself.
class RenameListView {
public:
    virtual ~RenameListView() = default;

    virtual std::string folder() const = 0;
    // The base name typed, under which a series is numbered on.
    virtual QString baseName() const = 0;
    virtual void clearBaseName() = 0;
    // The folder read again into the file list.
    virtual void rereadFiles() = 0;
    // The rename list refilled from the file list as last read: every file,
    // or with shots the first of each.
    virtual void refillList() = 0;
    // No file selected, and neither the name labels nor the preview's
    // information text show one.
    virtual void forgetShownFile() = 0;
    // The Live Photos of the folder as last read, with shots; none without.
    virtual const ShotLinks* shotLinks() const = 0;
    // The menu shows whether each shot takes one number, without acting on it.
    virtual void showShotsChoice(bool on) = 0;
};

} // namespace zanto
