#include "preview/PictureWorker.h"

#include <chrono>
#include <memory>

namespace zanto {

namespace {

// Well under the 100 ms a liveness ping may wait.
constexpr std::chrono::milliseconds kWaitSlice{10};
// A superseded read from a slow card cannot be broken off; a few threads
// more than the two tasks wanted at a time (the picture shown and the next)
// keep such reads from holding up new ones.
constexpr int kThreads = 4;

} // namespace

PictureWorker::PictureWorker(FileSystem& fileSystem, KeepAlive keepAlive)
    : m_fileSystem(fileSystem)
    , m_keepAlive(std::move(keepAlive))
{
    m_pool.setMaxThreadCount(kThreads);
}

PictureTask PictureWorker::start(const std::string& path, QSize box)
{
    PictureTask task;
    auto work = std::make_shared<std::packaged_task<StampedPicture()>>(
        [&fs = m_fileSystem, path, box, stop = task.stop.get_token()] {
            StampedPicture read;
            if (stop.stop_requested())
                return read;
            // Stamped before the read: a change while reading shows as a changed stamp.
            read.stamp = fs.stamp(path);
            if (!stop.stop_requested())
                read.picture = PictureLoader::load(fs, path, box, stop);
            return read;
        });
    task.result = work->get_future();
    m_pool.start([work] { (*work)(); });
    return task;
}

StampedPicture PictureWorker::wait(PictureTask& task) const
{
    while (task.result.wait_for(kWaitSlice) != std::future_status::ready)
        if (m_keepAlive)
            m_keepAlive();
    return task.result.get();
}

LoadedPicture PictureWorker::load(const std::string& path, QSize box)
{
    PictureTask task = start(path, box);
    return wait(task).picture;
}

} // namespace zanto
