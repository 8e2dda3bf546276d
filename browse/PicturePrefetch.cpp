#include "PicturePrefetch.h"

#include <QtConcurrent/QtConcurrentRun>

namespace zanto {

namespace {

bool unchanged(const FileStamp& a, const FileStamp& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

} // namespace

PicturePrefetch::PicturePrefetch(FileSystem& fileSystem)
    : m_fileSystem(fileSystem)
{
}

PicturePrefetch::~PicturePrefetch()
{
    m_result.waitForFinished();
}

void PicturePrefetch::start(const std::string& path, QSize box)
{
    m_result = {};
    m_path.clear();
    const auto stamp = m_fileSystem.stamp(path);
    FileStatus status;
    std::string bytes;
    // Read after the stamp: a change while reading shows as a changed stamp.
    if (!stamp || m_fileSystem.status(path, status) != FsError::None || status.kind != EntryKind::File
        || m_fileSystem.readFile(path, PICTURE_BYTE_LIMIT, bytes) != FsError::None)
        return;
    m_path = path;
    m_box = box;
    m_stamp = *stamp;
    m_result = QtConcurrent::run([bytes = std::move(bytes), path, box] {
        return PictureLoader::decode(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                     path, box);
    });
}

std::optional<QImage> PicturePrefetch::take(const std::string& path, QSize box)
{
    std::optional<QImage> picture;
    // A decode of this very file still running is further on than a new one would be.
    if (m_result.isValid() && path == m_path && box == m_box) {
        m_result.waitForFinished();
        const auto now = m_fileSystem.stamp(path);
        LoadedPicture loaded = m_result.takeResult();
        if (now && unchanged(*now, m_stamp) && loaded.status == LoadedPicture::Status::Loaded)
            picture = std::move(loaded.image);
    }
    m_result = {};
    m_path.clear();
    return picture;
}

} // namespace zanto
