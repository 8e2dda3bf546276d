#pragma once

#include "browse/PictureLoader.h"
#include "rename/FileSystem.h"

#include <QFuture>
#include <QImage>
#include <QSize>

#include <optional>
#include <string>

namespace zanto {

// The picture the user will most likely step to next, decoded ahead in Qt's
// thread pool. The file is read here, through the file system; only the
// decoding runs in the worker. One picture at a time is kept.
class PicturePrefetch {
public:
    explicit PicturePrefetch(FileSystem& fileSystem);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Starts decoding the picture file `path` for `box`, in place of any earlier one.
    void start(const std::string& path, QSize box);
    // The picture decoded for `path` at `box` (waiting for the decode when it
    // is still running) when the file still has the identity, size and time it
    // had when read; none otherwise, and the caller decodes as usual. What was
    // kept is given up either way.
    std::optional<QImage> take(const std::string& path, QSize box);

private:
    FileSystem& m_fileSystem;
    std::string m_path;
    QSize m_box;
    FileStamp m_stamp;
    QFuture<LoadedPicture> m_result;
};

} // namespace zanto
