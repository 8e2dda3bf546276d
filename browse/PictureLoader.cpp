#include "PictureLoader.h"

#include "browse/MetafileDecoder.h"

#include <QBuffer>
#include <QImageReader>
#include <string_view>

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

LoadedPicture loaded(QImage image, QSize box)
{
    if (image.size() != box)
        image = image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {Status::Loaded, FsError::None, std::move(image)};
}

LoadedPicture readImage(QIODevice& device, Decoder decoder, QSize box)
{
    QImageReader reader(&device, decoder == Decoder::Bitmap ? "bmp" : nullptr);
    // Judged by content, but only among the picture kinds the endings name
    // (and PNG, which mislabelled downloads often are): the other image
    // plugins (TIFF, WebP, TGA, ...) never see a file from here.
    static const QByteArrayList kAccepted{"jpeg", "jpg", "gif", "bmp", "ico", "cur", "png"};
    if (!kAccepted.contains(reader.format()))
        return failure(Status::InvalidPicture);
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

bool isMetafile(Decoder decoder)
{
    return decoder == Decoder::Emf || decoder == Decoder::Wmf;
}

LoadedPicture renderMetafile(const QByteArray& bytes, Decoder decoder, QSize box)
{
    std::optional<QImage> image = decoder == Decoder::Emf ? MetafileDecoder::renderEmf(bytes, box)
                                                          : MetafileDecoder::renderWmf(bytes, box);
    if (!image)
        return failure(Status::InvalidPicture);
    return loaded(std::move(*image), box);
}

} // namespace

LoadedPicture PictureLoader::load(FileSystem& fs, const std::string& path, QSize box, std::stop_token stop)
{
    FileStatus status;
    FsError error = fs.status(path, status);
    if (error == FsError::None && status.kind != EntryKind::File)
        return failure(Status::NotRegularFile); // a FIFO named like a picture must not hang the window
    std::string bytes;
    if (error == FsError::None)
        error = fs.readFile(path, PICTURE_BYTE_LIMIT, bytes);
    if (error != FsError::None)
        return failure(error == FsError::FileNotFound ? Status::FileNotFound : Status::Failed, error);
    // Decoded in place: a copy would double the memory a large picture takes.
    return decode(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), path, box,
                  std::move(stop));
}

LoadedPicture PictureLoader::decode(const QByteArray& bytes, std::string_view name, QSize box,
                                    std::stop_token /*stop*/)
{
    const Decoder decoder = decoderFor(name);
    if (isMetafile(decoder))
        return renderMetafile(bytes, decoder, box);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readImage(buffer, decoder, box);
}

} // namespace zanto
