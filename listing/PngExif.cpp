#include "listing/PngExif.h"

#include "listing/ExifCapture.h"
#include "listing/ExifOrientation.h"
#include "listing/FilePieces.h"
#include "rename/ReadableFile.h"

#include <cctype>
#include <charconv>
#include <string_view>
#include <zlib.h>

namespace zanto {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
// A keyword is at most 79 bytes, then its NUL.
constexpr std::size_t kKeywordBytes = 80;
// An EXIF block is at most what one JPEG segment holds; its hex twice that,
// with line ends. Inflating stops there, whatever the stream claims.
constexpr std::size_t kMaxExifBytes = 64 * 1024;
constexpr std::size_t kMaxProfileText = 3 * kMaxExifBytes;

template <typename Value>
using ExifReader = std::optional<Value> (*)(FilePieces&, std::uint64_t, std::uint64_t);

std::optional<std::string> inflated(std::string_view stream)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    std::string out(kMaxProfileText, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    inflateEnd(&z);
    // A stream cut short or too long still gives the text it holds: the hex
    // decoding below tells whether that is the whole profile.
    return result == Z_STREAM_END || result == Z_BUF_ERROR || result == Z_OK ? std::optional(out) : std::nullopt;
}

// The text of a tEXt, zTXt or iTXt chunk after its keyword and NUL.
std::optional<std::string> chunkText(std::string_view type, std::string_view rest)
{
    if (type == "tEXt")
        return std::string(rest);
    if (type == "zTXt")
        return rest.empty() || rest[0] != 0 ? std::nullopt : inflated(rest.substr(1));
    // iTXt: compressed or not, its method, then a language tag and a
    // translated keyword, each ended by a NUL.
    if (rest.size() < 2)
        return std::nullopt;
    const bool compressed = rest[0] != 0;
    std::string_view text = rest.substr(2);
    for (int field = 0; field < 2; ++field) {
        const std::size_t end = text.find('\0');
        if (end == std::string_view::npos)
            return std::nullopt;
        text.remove_prefix(end + 1);
    }
    return compressed ? inflated(text) : std::optional(std::string(text));
}

int hexDigit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// "\nexif\n   1234\n" and then the bytes in hex, in lines: ImageMagick's
// layout of a profile kept as text.
std::optional<std::string> profileBytes(std::string_view text)
{
    std::size_t at = text.find_first_not_of("\n\r ");
    at = text.find('\n', at);
    at = text.find_first_not_of("\n\r ", at);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), length);
    if (error != std::errc() || length == 0 || length > kMaxExifBytes)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(length);
    int high = -1;
    for (const char* c = end; c != text.data() + text.size() && bytes.size() < length; ++c) {
        const int digit = hexDigit(*c);
        if (digit < 0) {
            if (std::isspace(static_cast<unsigned char>(*c)) == 0)
                return std::nullopt;
        } else if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes.size() == length ? std::optional(bytes) : std::nullopt;
}

bool isTextChunk(std::string_view type)
{
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

bool isExifProfile(std::string_view keyword)
{
    return keyword == "Raw profile type exif" || keyword == "Raw profile type APP1";
}

// The value `read` finds in the PNG's EXIF, wherever the PNG keeps it.
template <typename Value>
std::optional<Value> fromExif(FilePieces& pieces, ExifReader<Value> read, int chunks)
{
    std::uint64_t at = kSignature.size();
    for (int chunk = 0; chunk < chunks; ++chunk) {
        const std::string_view header = pieces.read(at, 8);
        if (header.size() < 8)
            return std::nullopt;
        const std::uint64_t length = FilePieces::be(header, 0, 4);
        const std::string type(header.substr(4, 4));
        if (type == "eXIf")
            return read(pieces, at + 8, length);
        if (type == "IEND")
            return std::nullopt;
        if (isTextChunk(type)) {
            const std::string_view start = pieces.read(at + 8, std::min<std::uint64_t>(length, kKeywordBytes));
            const std::string keyword(start.substr(0, start.find('\0')));
            if (isExifProfile(keyword) && keyword.size() < start.size()) {
                const std::string_view body = pieces.read(at + 8, length);
                const std::optional<std::string> text =
                    body.size() == length ? chunkText(type, body.substr(keyword.size() + 1)) : std::nullopt;
                std::optional<std::string> exif = text ? profileBytes(*text) : std::nullopt;
                if (!exif)
                    return std::nullopt;
                MemoryFile file(std::move(*exif));
                FilePieces inside(file);
                return read(inside, 0, inside.size());
            }
        }
        at += 8 + length + 4; // header, data, CRC
    }
    return std::nullopt;
}

} // namespace

bool PngExif::recognises(const std::string& head)
{
    return std::string_view(head).substr(0, kSignature.size()) == kSignature;
}

std::optional<Capture> PngExif::capture(FilePieces& pieces)
{
    return fromExif<Capture>(pieces, &ExifCapture::inFile, kChunksLookedAt);
}

std::optional<int> PngExif::orientation(FilePieces& pieces, int chunks)
{
    return fromExif<int>(pieces, &ExifOrientation::inFile, chunks);
}

} // namespace zanto
