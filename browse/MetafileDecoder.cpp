#include "MetafileDecoder.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdlib>
#include <memory>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>

namespace zanto {

namespace {

constexpr quint32 kEmrHeader = 1;
constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr int kEmfHeaderSize = 88;

bool looksLikeEmf(const QByteArray& bytes)
{
    if (bytes.size() < kEmfHeaderSize)
        return false;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    return qFromLittleEndian<quint32>(data) == kEmrHeader && qFromLittleEndian<quint32>(data + 40) == kEmfSignature;
}

struct MallocFree {
    void operator()(char* text) const { std::free(text); }
};

struct WmfApiDestroy {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

int appendToByteArray(void* context, char* buffer, int length)
{
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

} // namespace

std::optional<QImage> MetafileDecoder::renderEmf(const QByteArray& bytes, QSize box)
{
    if (!looksLikeEmf(bytes) || box.isEmpty())
        return std::nullopt;

    QByteArray input = bytes; // emf2svg takes a mutable buffer
    char nameSpace[] = "svg";
    generatorOptions options {};
    options.nameSpace = nameSpace;
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
        return std::nullopt;

    QSvgRenderer renderer(QByteArray(svg.get(), static_cast<qsizetype>(svgLength)));
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
    if (bytes.isEmpty() || box.isEmpty())
        return std::nullopt;

    wmfAPI_Options apiOptions {};
    apiOptions.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* rawApi = nullptr;
    if (wmf_api_create(&rawApi, flags, &apiOptions) != wmf_E_None) {
        if (rawApi)
            wmf_api_destroy(rawApi);
        return std::nullopt;
    }
    const std::unique_ptr<wmfAPI, WmfApiDestroy> api(rawApi);
    wmf_gd_t* device = WMF_GD_GetData(api.get());
    if ((device->flags & WMF_GD_SUPPORTS_PNG) == 0)
        return std::nullopt;

    QByteArray input = bytes; // libwmf reads from a mutable buffer
    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char*>(input.data()), static_cast<long>(input.size()))
        != wmf_E_None)
        return std::nullopt;

    // libwmf 0.2.12 never frees the drawing it hands out as a raw gd image,
    // so the drawing comes back as PNG bytes instead: the device frees it.
    QByteArray png;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendToByteArray;

    wmfD_Rect bounds {};
    bool played = false;
    if (wmf_scan(api.get(), 0, &bounds) == wmf_E_None) {
        device->bbox = bounds;
        device->width = static_cast<unsigned int>(box.width());
        device->height = static_cast<unsigned int>(box.height());
        played = wmf_play(api.get(), 0, &bounds) == wmf_E_None;
    }
    wmf_mem_close(api.get());

    QImage image;
    if (!played || !image.loadFromData(png, "PNG"))
        return std::nullopt;
    return image;
}

} // namespace zanto
