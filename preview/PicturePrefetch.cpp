#include "preview/PicturePrefetch.h"

#include <utility>

namespace zanto {

namespace {

bool unchanged(const FileStamp& a, const FileStamp& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

} // namespace

PicturePrefetch::PicturePrefetch(PictureWorker& worker)
    : m_worker(worker)
{
}

PicturePrefetch::~PicturePrefetch()
{
    // The worker waits for what is still running once it goes itself.
    m_task.stop.request_stop();
}

void PicturePrefetch::start(const std::string& path, QSize box)
{
    std::exchange(m_task, m_worker.start(path, box)).stop.request_stop();
    m_path = path;
    m_box = box;
}

std::optional<QImage> PicturePrefetch::take(const std::string& path, QSize box)
{
    // Taken out first: while this waits, the window's events may start another.
    PictureTask task = std::exchange(m_task, {});
    const bool wanted = task.result.valid() && path == m_path && box == m_box;
    m_path.clear();
    if (!wanted) {
        task.stop.request_stop();
        return std::nullopt;
    }
    // Work on this very file still running is further on than a new load would be.
    StampedPicture read = m_worker.wait(task);
    const auto now = m_worker.fileSystem().stamp(path);
    if (now && read.stamp && unchanged(*now, *read.stamp) && read.picture.status == LoadedPicture::Status::Loaded)
        return std::move(read.picture.image);
    return std::nullopt;
}

} // namespace zanto
