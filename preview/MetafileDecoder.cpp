#include "preview/MetafileDecoder.h"

#include "preview/ChildProcess.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace zanto {

namespace {

constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmrEof = 14;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype kEmfHeaderSize = 88;
constexpr qsizetype kEmfRecordHead = 8;

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kWmfHeaderSize = 18;
constexpr quint16 kWmfHeaderWords = 9;
constexpr qsizetype kWmfRecordHead = 6; // size in words (32 bits), function (16 bits)
constexpr quint16 kMetaEof = 0;

quint32 read32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 read16(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// libemf2svg trusts the record chain: records that run past the end, or a
// chain without an EOF record, make it read beyond the buffer. An empty
// bounds rectangle makes it divide by zero for the picture's size. So only
// a header, then records that each lie inside the bytes, up to an EOF
// record, are handed over.
bool isWellFormedEmf(const QByteArray& bytes)
{
    if (bytes.size() < kEmfHeaderSize || read32(bytes, 0) != kEmrHeader || read32(bytes, 4) < kEmfHeaderSize
        || read32(bytes, 40) != kEmfSignature)
        return false;
    const auto left = static_cast<qint32>(read32(bytes, 8));
    const auto top = static_cast<qint32>(read32(bytes, 12));
    const auto right = static_cast<qint32>(read32(bytes, 16));
    const auto bottom = static_cast<qint32>(read32(bytes, 20));
    if (right <= left || bottom <= top)
        return false;
    qsizetype offset = 0;
    while (bytes.size() - offset >= kEmfRecordHead) {
        const quint32 type = read32(bytes, offset);
        const quint32 size = read32(bytes, offset + 4);
        if (size < kEmfRecordHead || size % 4 != 0 || size > static_cast<quint64>(bytes.size() - offset))
            return false;
        if (type == kEmrEof)
            return true;
        if (type == kEmrHeader && offset != 0)
            return false;
        offset += size;
    }
    return false;
}

// libwmf allocates the header's largest record size before it reads a
// single record (gigabytes for a damaged header), then reads records up to
// an EOF record. Handed over: a header whose largest record fits in the
// file, then records that each lie inside the bytes, up to an EOF record.
bool isWellFormedWmf(const QByteArray& bytes)
{
    qsizetype offset = bytes.size() >= 4 && read32(bytes, 0) == kPlaceableKey ? kPlaceableSize : 0;
    if (bytes.size() - offset < kWmfHeaderSize)
        return false;
    const quint16 type = read16(bytes, offset);
    const quint16 headerWords = read16(bytes, offset + 2);
    const quint32 largestRecord = read32(bytes, offset + 12);
    offset += kWmfHeaderSize;
    const auto wordsLeft = [&] { return static_cast<quint64>(bytes.size() - offset) / 2; };
    if ((type != 1 && type != 2) || headerWords != kWmfHeaderWords || largestRecord > wordsLeft())
        return false;
    while (bytes.size() - offset >= kWmfRecordHead) {
        const quint32 size = read32(bytes, offset);
        const quint16 function = read16(bytes, offset + 4);
        if (size < kWmfRecordHead / 2 || size > wordsLeft())
            return false;
        if (function == kMetaEof)
            return true;
        offset += static_cast<qsizetype>(size) * 2;
    }
    return false;
}

struct MallocFree {
    void operator()(char* text) const { std::free(text); }
};

struct WmfApiDestroy {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

// libwmf sizes buffers from numbers in the file (the largest record, an
// embedded bitmap's width and height) and asks for gigabytes when they are
// damaged. It gets no block above this limit and then gives the file up.
constexpr std::size_t kWmfAllocationLimit = std::size_t(128) << 20;

void* limitedMalloc(void*, std::size_t size)
{
    return size > kWmfAllocationLimit ? nullptr : std::malloc(size);
}

void* limitedRealloc(void*, void* block, std::size_t size)
{
    return size > kWmfAllocationLimit ? nullptr : std::realloc(block, size);
}

void plainFree(void*, void* block)
{
    std::free(block);
}

int appendToString(void* context, char* buffer, int length)
{
    static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(length));
    return length;
}

// How long one conversion may take, and how much it may write, before the
// file counts as an invalid picture.
constexpr std::chrono::milliseconds kConversionTimeout(3000);
constexpr std::size_t kConversionOutputLimit = std::size_t(64) << 20;

// libemf2svg and libwmf trust the records they read: damaged ones crash or
// hang them, and no check of ours foresees every record. So each conversion
// runs in a child process that calls only those C libraries and writes the
// result into a pipe. A crash, a failure or a run past the deadline makes
// the file an invalid picture; the window is never taken down with it.
std::optional<std::string> convertInChild(const std::function<bool(std::string& out)>& convert)
{
    ChildResult result = ChildProcess::run(
        [&convert](int, int output) {
            std::string out;
            const bool ok = convert(out) && ChildProcess::writeAll(output, out);
            ::_exit(ok ? 0 : 1);
        },
        {}, {kConversionTimeout, kConversionOutputLimit});
    if (result.status != ChildResult::Status::Exited || result.exitCode != 0)
        return std::nullopt;
    return std::move(result.output);
}

// In the child: the enhanced metafile as SVG text sized for the box.
bool emfToSvg(std::string input, QSize box, std::string& svgText)
{
    // No name space: libemf2svg 1.1.0 never frees the prefix it builds from one.
    generatorOptions options {};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = box.width();
    options.imgHeight = box.height();

    char* rawSvg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &rawSvg, &svgLength, &options);
    const std::unique_ptr<char, MallocFree> svg(rawSvg);
    if (!ok || !svg || svgLength == 0)
        return false;
    svgText.assign(svg.get(), svgLength);
    return true;
}

// In the child: the Windows metafile drawn at the box's size, as PNG bytes.
bool wmfToPng(std::string input, QSize box, std::string& png)
{
    wmfAPI_Options apiOptions {};
    apiOptions.function = wmf_gd_function;
    apiOptions.malloc = limitedMalloc;
    apiOptions.realloc = limitedRealloc;
    apiOptions.free = plainFree;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_ALLOC | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* rawApi = nullptr;
    if (wmf_api_create(&rawApi, flags, &apiOptions) != wmf_E_None) {
        if (rawApi)
            wmf_api_destroy(rawApi);
        return false;
    }
    const std::unique_ptr<wmfAPI, WmfApiDestroy> api(rawApi);
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    if ((device->flags & WMF_GD_SUPPORTS_PNG) == 0)
        return false;

    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(input.data()), static_cast<long>(input.size()))
        != wmf_E_None)
        return false;

    // libwmf 0.2.12 never frees the drawing it hands out as a raw gd image,
    // so the drawing comes back as PNG bytes instead: the device frees it.
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendToString;

    wmfD_Rect bounds {};
    bool played = false;
    if (wmf_scan(api.get(), 0, &bounds) == wmf_E_None) {
        device->bbox = bounds;
        device->width = static_cast<unsigned int>(box.width());
        device->height = static_cast<unsigned int>(box.height());
        played = wmf_play(api.get(), 0, &bounds) == wmf_E_None;
    }
    wmf_mem_close(api.get());
    return played;
}

} // namespace

std::optional<QImage> MetafileDecoder::renderEmf(const QByteArray& bytes, QSize box)
{
    if (!isWellFormedEmf(bytes) || box.isEmpty())
        return std::nullopt;
    // Both libraries read from a mutable buffer: the child makes its own copy.
    const std::optional<std::string> svg =
        convertInChild([&](std::string& out) { return emfToSvg(bytes.toStdString(), box, out); });
    if (!svg)
        return std::nullopt;

    QSvgRenderer renderer(QByteArray(svg->data(), static_cast<qsizetype>(svg->size())));
    if (!renderer.isValid())
        return std::nullopt;
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(box)));
    painter.end();
    return image;
}

std::optional<QImage> MetafileDecoder::renderWmf(const QByteArray& bytes, QSize box)
{
    if (!isWellFormedWmf(bytes) || box.isEmpty())
        return std::nullopt;
    const std::optional<std::string> png =
        convertInChild([&](std::string& out) { return wmfToPng(bytes.toStdString(), box, out); });
    QImage image;
    if (!png || !image.loadFromData(QByteArrayView(png->data(), static_cast<qsizetype>(png->size())), "PNG"))
        return std::nullopt;
    return image;
}

} // namespace zanto
