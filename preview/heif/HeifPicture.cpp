#include "HeifPicture.h"

#include <libheif/heif.h>
#include <memory>

namespace zanto {

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

} // namespace

std::optional<QImage> HeifPicture::decode(std::string_view bytes, QSize box)
{
    if (box.isEmpty())
        return std::nullopt;
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context
        || heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(), nullptr).code
            != heif_error_Ok)
        return std::nullopt;
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return std::nullopt;
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);

    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    // libheif turns the picture by the file's irot and imir boxes. HEIF has
    // those rule over an orientation its Exif block may state as well, so
    // that one is never applied on top: the picture leaves here upright.
    options->ignore_transformations = 0;
    options->convert_hdr_to_8bit = 1;
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    heif_image* rawImage = nullptr;
    if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code
        != heif_error_Ok)
        return std::nullopt;
    const std::unique_ptr<heif_image, ImageRelease> image(rawImage);

    int stride = 0;
    const uint8_t* pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (pixels == nullptr || width <= 0 || height <= 0)
        return std::nullopt;
    // A view of libheif's plane; scaled() makes the copy that outlives it.
    const QImage decoded(pixels, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage picture = decoded.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

} // namespace zanto
