#pragma once

#include <string>

namespace zanto {

// What the undo of the last batch reads and writes on the window.
class UndoView {
public:
    virtual ~UndoView() = default;

    virtual std::string folder() const = 0;
    // The caption of the mode shown.
    virtual void restoreCaption() = 0;
    // The folder shown read again into the list the mode shows.
    virtual void relist() = 0;
};

} // namespace zanto
