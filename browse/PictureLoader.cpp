#include "PictureLoader.h"

#include "browse/MetafileDecoder.h"
#include "ui/NativeFileSystem.h"

#include <QFile>
#include <QImageReader>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto {

namespace {

using Status = LoadedPicture::Status;

enum class Decoder { ImageByContent, Bitmap, Emf, Wmf };

Decoder decoderFor(std::string_view path)
{
    if (path.ends_with(".dib") || path.ends_with(".DIB"))
        return Decoder::Bitmap;
    if (path.ends_with(".emf") || path.ends_with(".EMF"))
        return Decoder::Emf;
    if (path.ends_with(".wmf") || path.ends_with(".WMF"))
        return Decoder::Wmf;
    return Decoder::ImageByContent;
}

LoadedPicture failure(Status status, FsError error = FsError::None)
{
    return {status, error, {}};
}

LoadedPicture fromErrno(int error)
{
    const FsError numbered = fsErrorFromErrno(error);
    return failure(numbered == FsError::FileNotFound ? Status::FileNotFound : Status::Failed, numbered);
}

LoadedPicture loaded(QImage image, QSize box)
{
    if (image.size() != box)
        image = image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {Status::Loaded, FsError::None, std::move(image)};
}

LoadedPicture readImage(QFile& file, const char* format, QSize box)
{
    QImageReader reader(&file, format);
    reader.setAutoTransform(true);

    // The scaled size applies before the EXIF rotation: a quarter turn wants
    // the box's sides swapped. Decoding at the shown size lets the JPEG
    // decoder skip most of a large photo's work.
    const QSize source = reader.size();
    const QSize target = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
        ? box.transposed()
        : box;
    if (source.isValid() && (source.width() > target.width() || source.height() > target.height())) {
        reader.setScaledSize(target);
        reader.setQuality(75); // asks the JPEG reader for its smooth scaler
    }

    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return reader.error() == QImageReader::DeviceError ? failure(Status::Failed, FsError::Other)
                                                           : failure(Status::InvalidPicture);
    }
    return loaded(std::move(image), box);
}

} // namespace

LoadedPicture PictureLoader::load(const std::string& path, QSize box)
{
    // O_NONBLOCK: a FIFO named like a picture must not hang the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fromErrno(errno);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failure(Status::Failed, FsError::Other);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fromErrno(errno);
    if (!S_ISREG(info.st_mode))
        return failure(Status::NotRegularFile);

    switch (decoderFor(path)) {
    case Decoder::ImageByContent:
        return readImage(file, nullptr, box);
    case Decoder::Bitmap:
        return readImage(file, "bmp", box);
    case Decoder::Emf:
    case Decoder::Wmf: {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return failure(Status::Failed, FsError::Other);
        std::optional<QImage> image = decoderFor(path) == Decoder::Emf ? MetafileDecoder::renderEmf(bytes, box)
                                                                       : MetafileDecoder::renderWmf(bytes, box);
        if (!image)
            return failure(Status::InvalidPicture);
        return loaded(std::move(*image), box);
    }
    }
    return failure(Status::InvalidPicture);
}

} // namespace zanto
