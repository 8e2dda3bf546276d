#include "TextPreview.h"

#include "ui/NativeFileSystem.h"

#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto {

namespace {

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

TextPreview failure(FsError error)
{
    return {TextPreview::Status::Failed, error, {}};
}

QString decodeCharacters(QByteArrayView bytes)
{
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid())
        return sjis(bytes);
    return QString::fromLatin1(bytes);
}

} // namespace

TextPreview TextPreview::read(const std::string& path)
{
    // Size and kind first: a text at the limit is never opened, nor is a FIFO.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return failure(fsErrorFromErrno(errno));
    if (!S_ISREG(info.st_mode))
        return {Status::NotRegularFile, FsError::None, {}};
    if (info.st_size >= TEXT_PREVIEW_LIMIT)
        return {Status::TooLarge, FsError::None, {}};

    // O_NONBLOCK: the name may have been replaced by a FIFO since the stat.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failure(fsErrorFromErrno(errno));
    const FdCloser closer(fd);
    if (::fstat(fd, &info) != 0)
        return failure(fsErrorFromErrno(errno));
    if (!S_ISREG(info.st_mode))
        return {Status::NotRegularFile, FsError::None, {}};

    QByteArray bytes(TEXT_PREVIEW_LIMIT, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return failure(fsErrorFromErrno(errno));
        }
        if (got == 0)
            break;
        filled += got;
    }
    // Grown to the limit since the stat: the same answer the size test gives.
    if (filled >= TEXT_PREVIEW_LIMIT)
        return {Status::TooLarge, FsError::None, {}};
    bytes.truncate(filled);
    return {Status::Read, FsError::None, decode(bytes)};
}

QString TextPreview::decode(QByteArrayView bytes)
{
    const QString characters = decodeCharacters(bytes);
    QString text;
    text.reserve(characters.size() + characters.size() / 8 + 2);
    qsizetype lineStart = 0;
    const qsizetype size = characters.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (characters[i] != u'\r')
            continue;
        text += QStringView(characters).sliced(lineStart, i - lineStart);
        text += u"\r\n";
        if (i + 1 < size && characters[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < size) {
        text += QStringView(characters).sliced(lineStart);
        text += u"\r\n";
    }
    return text;
}

} // namespace zanto
