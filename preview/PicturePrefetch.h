#pragma once

#include "preview/PictureWorker.h"

#include <QImage>
#include <QSize>

#include <optional>
#include <string>

namespace zanto {

// The picture the user will most likely step to next, stamped, read and
// decoded ahead by a worker. One picture at a time is wanted: one no longer
// wanted is told to stop, and never waited for.
class PicturePrefetch {
public:
    explicit PicturePrefetch(PictureWorker& worker);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Starts on the picture file `path` for `box`, in place of any earlier one.
    void start(const std::string& path, QSize box);
    // The picture read for `path` at `box` (waiting for the worker, the window
    // kept alive, when it is still at it) when the file still has the
    // identity, size and time it had before it was read; none otherwise, and
    // the caller decodes as usual. What was kept is given up either way.
    std::optional<QImage> take(const std::string& path, QSize box);

private:
    PictureWorker& m_worker;
    std::string m_path;
    QSize m_box;
    PictureTask m_task;
};

} // namespace zanto
