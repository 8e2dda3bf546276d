#pragma once

#include "preview/PictureLoader.h"
#include "rename/FileSystem.h"

#include <QSize>
#include <QThreadPool>

#include <functional>
#include <future>
#include <optional>
#include <stop_token>
#include <string>

namespace zanto {

// What a worker read: the file's stamp, taken before the read, and the picture.
struct StampedPicture {
    std::optional<FileStamp> stamp;
    LoadedPicture picture;
};

// One picture being read and decoded by a worker. `stop` asks it to give up;
// what it gives then is not to be used.
struct PictureTask {
    std::stop_source stop;
    std::future<StampedPicture> result;
};

// Reads and decodes pictures off the window's thread: a camera card or a
// network share may take seconds over a large photo, and the window must go
// on painting and answering the desktop meanwhile.
class PictureWorker {
public:
    // Handles the window's events while the window's thread waits for a
    // picture (user input left queued); called every few milliseconds.
    using KeepAlive = std::function<void()>;

    explicit PictureWorker(FileSystem& fileSystem, KeepAlive keepAlive = {});
    // Asks nothing to stop, but waits for every task still running: they use
    // the file system, which may go once this is gone.
    ~PictureWorker() = default;
    PictureWorker(const PictureWorker&) = delete;
    PictureWorker& operator=(const PictureWorker&) = delete;

    // Starts stamping, reading and decoding `path` for `box` in a worker.
    PictureTask start(const std::string& path, QSize box);
    // Waits for `task`, keeping the window alive; an exception of the work
    // goes on to the caller.
    StampedPicture wait(PictureTask& task) const;
    // start() and wait() in one: a picture wanted now.
    LoadedPicture load(const std::string& path, QSize box);

    FileSystem& fileSystem() const { return m_fileSystem; }

private:
    FileSystem& m_fileSystem;
    KeepAlive m_keepAlive;
    // Last member: destroyed first, it waits for the tasks still running.
    QThreadPool m_pool;
};

} // namespace zanto
