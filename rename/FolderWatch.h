#pragma once

namespace zanto {

// Tells whether a folder's names may have changed since the watch began, so
// that a listing read after it began can be kept while the answer is no.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;

    // Once true, true for good.
    [[nodiscard]] virtual bool changed() = 0;
};

} // namespace zanto
