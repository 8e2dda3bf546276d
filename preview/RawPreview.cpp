#include "preview/RawPreview.h"

#include "preview/ChildProcess.h"
#include "rename/ReadableFile.h"

#include <libraw/libraw.h>

#include <algorithm>
#include <chrono>
#include <unistd.h>
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

// What the child tells by its exit status.
constexpr int kFound = 0;
constexpr int kNoPreview = 1;
constexpr int kReadFailed = 2;

// Reading directories and a preview takes milliseconds; a damaged file that
// sends LibRaw round in circles is given up after this.
constexpr std::chrono::milliseconds kTimeout(5000);
constexpr std::size_t kOutputLimit = std::size_t(64) << 20;

// The child's message: the orientation (1 to 8), then 'J' and the JPEG file,
// or 'B', width and height (32 bits, little-endian), the colours (1 or 3)
// and the 8-bit pixels, rows unpadded.
constexpr char kJpeg = 'J';
constexpr char kBitmap = 'B';
constexpr std::size_t kBitmapHead = 2 + 4 + 4 + 1;

void appendWord(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t wordAt(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// In the child: LibRaw's largest preview of `file` as the message above.
int extract(ReadableFile& file, std::string& message)
{
    FileStream stream(file);
    // LibRaw's default callbacks print every damaged file on the terminal.
    const auto raw = std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_MEMERR_CALLBACK | LIBRAW_OPIONS_NO_DATAERR_CALLBACK);
    const bool unpacked = raw->open_datastream(&stream) == LIBRAW_SUCCESS && raw->unpack_thumb() == LIBRAW_SUCCESS;
    if (stream.error() != FsError::None)
        return kReadFailed;
    const libraw_thumbnail_t& thumbnail = raw->imgdata.thumbnail;
    if (!unpacked || thumbnail.thumb == nullptr || thumbnail.tlength == 0)
        return kNoPreview;
    const Orientation orientation = orientationFromRawFlip(raw->imgdata.sizes.flip).value_or(Orientation::Upright);
    message += static_cast<char>(orientation);
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG) {
        message += kJpeg;
    } else if (thumbnail.tformat == LIBRAW_THUMBNAIL_BITMAP && thumbnail.twidth > 0 && thumbnail.theight > 0) {
        message += kBitmap;
        appendWord(message, thumbnail.twidth);
        appendWord(message, thumbnail.theight);
        message += static_cast<char>(thumbnail.tcolors);
    } else {
        return kNoPreview;
    }
    message.append(thumbnail.thumb, thumbnail.tlength);
    return kFound;
}

// The child's message read back; none when it does not hold together.
std::optional<EmbeddedPreview> parseMessage(std::string_view message)
{
    if (message.size() < 2 || message[0] < static_cast<char>(Orientation::Upright)
        || message[0] > static_cast<char>(Orientation::Rotated270))
        return std::nullopt;
    EmbeddedPreview preview;
    preview.orientation = static_cast<Orientation>(message[0]);
    if (message[1] == kJpeg) {
        preview.jpeg = QByteArray(message.data() + 2, static_cast<qsizetype>(message.size() - 2));
        return preview;
    }
    if (message[1] != kBitmap || message.size() < kBitmapHead)
        return std::nullopt;
    const std::uint64_t width = wordAt(message, 2);
    const std::uint64_t height = wordAt(message, 6);
    const int colours = message[10];
    if (width == 0 || height == 0 || width > 65535 || height > 65535 || (colours != 3 && colours != 1)
        || width * height * static_cast<std::uint64_t>(colours) > message.size() - kBitmapHead)
        return std::nullopt;
    preview.bitmap = QImage(reinterpret_cast<const uchar*>(message.data() + kBitmapHead), static_cast<int>(width),
                            static_cast<int>(height), static_cast<qsizetype>(width) * colours,
                            colours == 3 ? QImage::Format_RGB888 : QImage::Format_Grayscale8)
                         .copy();
    return preview;
}

} // namespace

std::optional<EmbeddedPreview> RawPreview::read(ReadableFile& file, FsError& error, std::stop_token stop)
{
    error = FsError::None;
    const ChildResult result = ChildProcess::run(
        [&file](int, int output) {
            std::string message;
            const int status = extract(file, message);
            ::_exit(status == kFound && !ChildProcess::writeAll(output, message) ? kNoPreview : status);
        },
        {}, {kTimeout, kOutputLimit}, std::move(stop));
    if (result.status != ChildResult::Status::Exited)
        return std::nullopt;
    if (result.exitCode == kReadFailed)
        error = FsError::Other;
    if (result.exitCode != kFound)
        return std::nullopt;
    return parseMessage(result.output);
}

} // namespace zanto
