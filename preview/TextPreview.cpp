#include "preview/TextPreview.h"

#include "ui/NativeName.h"

namespace zanto {

namespace {

TextPreview failure(FsError error)
{
    return {TextPreview::Status::Failed, error, {}};
}

} // namespace

TextPreview TextPreview::read(FileSystem& fs, const std::string& path)
{
    // Size and kind first: a text at the limit is never opened, nor is a FIFO.
    FileStatus status;
    if (const FsError error = fs.status(path, status); error != FsError::None)
        return failure(error);
    if (status.kind != EntryKind::File)
        return {Status::NotRegularFile, FsError::None, {}};
    if (status.size >= TEXT_PREVIEW_LIMIT)
        return {Status::TooLarge, FsError::None, {}};
    std::string bytes;
    if (const FsError error = fs.readFile(path, TEXT_PREVIEW_LIMIT, bytes); error != FsError::None)
        return failure(error);
    // Grown to the limit since the size test: the same answer that test gives.
    if (bytes.size() >= static_cast<std::size_t>(TEXT_PREVIEW_LIMIT))
        return {Status::TooLarge, FsError::None, {}};
    return {Status::Read, FsError::None, decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))};
}

QString TextPreview::decode(QByteArrayView bytes)
{
    const QString characters = decodeJapanese(bytes, false);
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
