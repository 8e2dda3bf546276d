#include "preview/PictureLoader.h"

#include "preview/HeifDecoder.h"
#include "preview/MetafileDecoder.h"
#include "preview/Orientation.h"
#include "preview/PictureKind.h"
#include "preview/QtReaderGaps.h"
#include "preview/RawPreview.h"
#include "rename/ReadableFile.h"
#include "rename/WholeFileLimit.h"

#include <QBuffer>
#include <QImageReader>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace zanto {

namespace {

using Status = LoadedPicture::Status;

// A name in no picture kind's ending is judged by content too.
PictureDecoder decoderFor(std::string_view path)
{
    const std::optional<PictureKind> kind = PictureKind::of(path);
    return kind ? kind->decoder : PictureDecoder::ByContent;
}

std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
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

// `given`: the turn that makes the picture upright; none to take the one its
// own EXIF states, so that it is turned exactly once either way.
LoadedPicture readImage(QIODevice& device, PictureDecoder decoder, QSize box, std::optional<Orientation> given = {})
{
    QImageReader reader(&device, decoder == PictureDecoder::Bitmap ? "bmp" : nullptr);
    // Judged by content, but only among the kinds named by content.
    const QByteArray format = reader.format();
    if (!PictureKind::isNamedByContent(std::string_view(format.constData(), static_cast<std::size_t>(format.size()))))
        return failure(Status::InvalidPicture);
    reader.setAutoTransform(!given);

    // The scaled size applies before the turn: a quarter turn wants the
    // box's sides swapped. Decoding at the shown size lets the JPEG decoder
    // skip most of a large photo's work.
    const bool quarterTurn = given ? swapsSides(*given)
                                   : reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize source = reader.size();
    const QSize target = quarterTurn ? box.transposed() : box;
    if (source.isValid() && (source.width() > target.width() || source.height() > target.height())) {
        reader.setScaledSize(target);
        reader.setQuality(75); // asks the JPEG reader for its smooth scaler
    }

    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return reader.error() == QImageReader::DeviceError ? failure(Status::Failed, FsError::Other)
                                                           : failure(Status::InvalidPicture);
    }
    return loaded(given ? turnedUpright(image, *given) : std::move(image), box);
}

// A RAW file's embedded preview, turned by the RAW's orientation: whatever
// EXIF the preview carries inside is not looked at.
LoadedPicture readRaw(ReadableFile& file, QSize box, std::stop_token stop)
{
    FsError error = FsError::None;
    std::optional<EmbeddedPreview> preview = RawPreview::read(file, error, std::move(stop));
    if (error != FsError::None)
        return failure(Status::Failed, error);
    if (!preview)
        return failure(Status::InvalidPicture);
    if (preview->jpeg.isEmpty())
        return loaded(turnedUpright(preview->bitmap, preview->orientation), box);
    QBuffer buffer(&preview->jpeg);
    buffer.open(QIODevice::ReadOnly);
    return readImage(buffer, PictureDecoder::Raw, box, preview->orientation);
}

LoadedPicture readHeif(const QByteArray& bytes, QSize box, std::stop_token stop)
{
    HeifDecoder::Result result = HeifDecoder::decode(viewOf(bytes), box, std::move(stop));
    switch (result.status) {
    case HeifDecoder::Status::Decoded:
        return loaded(std::move(result.image), box);
    case HeifDecoder::Status::NoHelper:
        return failure(Status::NoDecoder);
    case HeifDecoder::Status::Stopped:
        return failure(Status::Failed);
    case HeifDecoder::Status::InvalidPicture:
        break;
    }
    return failure(Status::InvalidPicture);
}

bool isMetafile(PictureDecoder decoder)
{
    return decoder == PictureDecoder::Emf || decoder == PictureDecoder::Wmf;
}

LoadedPicture renderMetafile(const QByteArray& bytes, PictureDecoder decoder, QSize box)
{
    std::optional<QImage> image = decoder == PictureDecoder::Emf ? MetafileDecoder::renderEmf(bytes, box)
                                                                 : MetafileDecoder::renderWmf(bytes, box);
    if (!image)
        return failure(Status::InvalidPicture);
    return loaded(std::move(*image), box);
}

LoadedPicture decodeWith(PictureDecoder decoder, const QByteArray& bytes, QSize box, std::stop_token stop)
{
    if (isMetafile(decoder))
        return renderMetafile(bytes, decoder, box);
    if (decoder == PictureDecoder::Heif)
        return readHeif(bytes, box, std::move(stop));
    if (decoder == PictureDecoder::Raw) {
        MemoryView file(viewOf(bytes));
        return readRaw(file, box, std::move(stop));
    }
    if (!QtReaderGaps::safeToRead(viewOf(bytes)))
        return failure(Status::InvalidPicture);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readImage(buffer, decoder, box, QtReaderGaps::statedOrientation(viewOf(bytes)));
}

// A file its ending's decoder refuses may carry the wrong ending (a JPEG
// named ".nef"): the decoder its magic number names, when another, gets it.
std::optional<PictureDecoder> otherDecoder(PictureDecoder tried, std::string_view head)
{
    const std::optional<PictureDecoder> content = PictureKind::ofContent(head);
    return content == tried ? std::nullopt : content;
}

// The second decoder's picture where it shows one; otherwise the file stays
// what its ending's decoder found it, an invalid picture.
LoadedPicture shownOr(LoadedPicture second, LoadedPicture first)
{
    return second.status == LoadedPicture::Status::Loaded ? second : first;
}

} // namespace

LoadedPicture PictureLoader::load(FileSystem& fs, const std::string& path, QSize box, std::stop_token stop)
{
    FileStatus status;
    FsError error = fs.status(path, status);
    if (error == FsError::None && status.kind != EntryKind::File)
        return failure(Status::NotRegularFile); // a FIFO named like a picture must not hang the window
    std::optional<PictureDecoder> instead;
    LoadedPicture refused;
    if (error == FsError::None && decoderFor(path) == PictureDecoder::Raw) {
        // Only the directories and the preview are read, not the whole RAW;
        // the whole file only when LibRaw refuses it and it is of another kind.
        std::unique_ptr<ReadableFile> file;
        error = fs.openFile(path, file);
        if (error == FsError::None) {
            LoadedPicture picture = readRaw(*file, box, stop);
            std::string head;
            if (picture.status != Status::InvalidPicture
                || file->readAt(0, PictureKind::kMagicBytes, head) != FsError::None)
                return picture;
            instead = otherDecoder(PictureDecoder::Raw, head);
            if (!instead)
                return picture;
            refused = std::move(picture);
        }
    }
    std::string bytes;
    if (error == FsError::None)
        error = fs.readFile(path, WHOLE_FILE_LIMIT, bytes);
    if (error != FsError::None)
        return failure(error == FsError::FileNotFound ? Status::FileNotFound : Status::Failed, error);
    // Decoded in place: a copy would double the memory a large picture takes.
    const QByteArray content = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (instead)
        return shownOr(decodeWith(*instead, content, box, std::move(stop)), std::move(refused));
    return decode(content, path, box, std::move(stop));
}

LoadedPicture PictureLoader::decode(const QByteArray& bytes, std::string_view name, QSize box,
                                    std::stop_token stop)
{
    const PictureDecoder decoder = decoderFor(name);
    LoadedPicture picture = decodeWith(decoder, bytes, box, stop);
    if (picture.status != Status::InvalidPicture)
        return picture;
    const std::optional<PictureDecoder> instead = otherDecoder(decoder, viewOf(bytes));
    return instead ? shownOr(decodeWith(*instead, bytes, box, std::move(stop)), std::move(picture)) : picture;
}

} // namespace zanto
