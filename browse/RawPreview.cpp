#include "RawPreview.h"

#include "rename/ReadableFile.h"

#include <libraw/libraw.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace zanto {

namespace {

// LibRaw's view of a ReadableFile. LibRaw reads a byte or a word at a time
// while it walks the directories, so small reads come from a window read
// ahead; a preview's bytes are read in one piece.
class FileStream final : public LibRaw_abstract_datastream {
public:
    explicit FileStream(ReadableFile& file) : m_file(file), m_size(static_cast<INT64>(file.size())) {}

    FsError error() const { return m_error; }

    int valid() override { return m_error == FsError::None ? 1 : 0; }

    int read(void* target, size_t size, size_t count) override
    {
        if (size == 0 || count == 0)
            return 0;
        const std::size_t wanted = size * count;
        if (wanted / size != count)
            return 0;
        const std::size_t got = copyOut(static_cast<char*>(target), wanted);
        return static_cast<int>(got / size);
    }

    int seek(INT64 offset, int whence) override
    {
        INT64 base = 0;
        if (whence == SEEK_CUR)
            base = m_position;
        else if (whence == SEEK_END)
            base = m_size;
        else if (whence != SEEK_SET)
            return -1;
        // Past either end is held at the end, as LibRaw's own buffer stream does.
        m_position = std::clamp<INT64>(base + offset, 0, m_size);
        return 0;
    }

    INT64 tell() override { return m_position; }
    INT64 size() override { return m_size; }

    int get_char() override
    {
        unsigned char byte = 0;
        return copyOut(reinterpret_cast<char*>(&byte), 1) == 1 ? byte : -1;
    }

    char* gets(char* text, int length) override
    {
        if (length <= 0)
            return nullptr;
        int used = 0;
        while (used < length - 1) {
            const int next = get_char();
            if (next < 0)
                break;
            text[used++] = static_cast<char>(next);
            if (next == '\n')
                break;
        }
        text[used] = '\0';
        return used == 0 ? nullptr : text;
    }

    int scanf_one(const char* format, void* value) override
    {
        // One word, as fscanf would take it for a single number.
        char word[32] = {};
        int next = get_char();
        while (next == ' ' || next == '\t' || next == '\n' || next == '\r')
            next = get_char();
        std::size_t used = 0;
        while (next >= 0 && next != ' ' && next != '\t' && next != '\n' && next != '\r' && next != '\0'
               && used < sizeof word - 1) {
            word[used++] = static_cast<char>(next);
            next = get_char();
        }
        return used == 0 ? -1 : std::sscanf(word, format, value);
    }

    int eof() override { return m_position >= m_size ? 1 : 0; }
    void* make_jas_stream() override { return nullptr; }

private:
    static constexpr std::size_t kWindow = 64 * 1024;

    std::size_t copyOut(char* target, std::size_t wanted)
    {
        if (m_error != FsError::None || m_position >= m_size)
            return 0;
        wanted = std::min<std::size_t>(wanted, static_cast<std::size_t>(m_size - m_position));
        const auto offset = static_cast<std::uint64_t>(m_position);
        if (wanted > kWindow) {
            std::string piece;
            m_error = m_file.readAt(offset, wanted, piece);
            return take(target, piece.data(), m_error == FsError::None ? piece.size() : 0);
        }
        if (offset < m_windowStart || offset + wanted > m_windowStart + m_window.size()) {
            m_windowStart = offset;
            m_error = m_file.readAt(offset, kWindow, m_window);
            if (m_error != FsError::None)
                m_window.clear();
        }
        const std::size_t inWindow = static_cast<std::size_t>(offset - m_windowStart);
        return take(target, m_window.data() + inWindow, std::min(wanted, m_window.size() - inWindow));
    }

    std::size_t take(char* target, const char* source, std::size_t count)
    {
        std::memcpy(target, source, count);
        m_position += static_cast<INT64>(count);
        return count;
    }

    ReadableFile& m_file;
    const INT64 m_size;
    INT64 m_position = 0;
    std::string m_window;
    std::uint64_t m_windowStart = 0;
    FsError m_error = FsError::None;
};

} // namespace

std::optional<EmbeddedPreview> RawPreview::read(ReadableFile& file, FsError& error)
{
    error = FsError::None;
    FileStream stream(file);
    // LibRaw's default callbacks print every damaged file on the terminal.
    const auto raw = std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_MEMERR_CALLBACK | LIBRAW_OPIONS_NO_DATAERR_CALLBACK);
    const bool unpacked = raw->open_datastream(&stream) == LIBRAW_SUCCESS && raw->unpack_thumb() == LIBRAW_SUCCESS;
    error = stream.error();
    if (!unpacked || error != FsError::None)
        return std::nullopt;

    const libraw_thumbnail_t& thumbnail = raw->imgdata.thumbnail;
    EmbeddedPreview preview;
    preview.orientation = orientationFromRawFlip(raw->imgdata.sizes.flip).value_or(Orientation::Upright);
    if (thumbnail.thumb == nullptr || thumbnail.tlength == 0)
        return std::nullopt;
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG) {
        preview.jpeg = QByteArray(thumbnail.thumb, static_cast<qsizetype>(thumbnail.tlength));
        return preview;
    }
    // 8-bit pixels, three colours or grey, rows without padding.
    const int width = thumbnail.twidth;
    const int height = thumbnail.theight;
    const int colours = thumbnail.tcolors;
    if (thumbnail.tformat != LIBRAW_THUMBNAIL_BITMAP || width <= 0 || height <= 0 || (colours != 3 && colours != 1)
        || static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * static_cast<std::uint64_t>(colours)
            > thumbnail.tlength)
        return std::nullopt;
    preview.bitmap = QImage(reinterpret_cast<const uchar*>(thumbnail.thumb), width, height, width * colours,
                            colours == 3 ? QImage::Format_RGB888 : QImage::Format_Grayscale8)
                         .copy();
    return preview;
}

} // namespace zanto
