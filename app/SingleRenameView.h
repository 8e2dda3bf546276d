#pragma once

#include "rename/ShotGroups.h"

#include <QString>

#include <string>

namespace zanto {

// What simple mode's rename reads and writes on the window: the file list,
// the new-name box and the two name labels.
class SingleRenameView {
public:
    virtual ~SingleRenameView() = default;

    virtual std::string folder() const = 0;
    virtual int fileCount() const = 0;
    virtual int selectedFile() const = 0; // -1: none
    virtual std::string fileAt(int row) const = 0;
    // One new stem for every file of a shot (the rename list's menu).
    virtual bool shots() const = 0;
    // With shots, the Live Photos of the folder as last read.
    virtual const ShotLinks* shotLinks() const = 0;
    // The folder read again; the selection is not kept.
    virtual void rereadFiles() = 0;
    // Selects `row` as a click does, previewing and seeding the name box.
    virtual void selectFile(int row) = 0;

    virtual QString typedName() const = 0;
    virtual int typedNameLimit() const = 0; // the box's length limit
    virtual void setTypedName(const QString& text) = 0;
    virtual void selectTypedName(int length) = 0;
    // Read-only and disabled until a file is chosen.
    virtual void lockNameBox() = 0;
    virtual void showNames(const QString& oldName, const QString& newName) = 0;
};

} // namespace zanto
