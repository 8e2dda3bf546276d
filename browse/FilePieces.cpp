#include "FilePieces.h"

#include "rename/ReadableFile.h"

#include <algorithm>

namespace zanto {

namespace {

// `length` bytes from `at` of `held` (which starts at `heldAt`), when all of them are there.
bool within(std::uint64_t heldAt, const std::string& held, std::uint64_t at, std::uint64_t length)
{
    return at >= heldAt && at - heldAt <= held.size() && length <= held.size() - (at - heldAt);
}

} // namespace

FilePieces::FilePieces(ReadableFile& file) : m_file(file), m_size(file.size())
{
    m_head = read(0, kHeadBytes);
}

std::string FilePieces::read(std::uint64_t offset, std::size_t length)
{
    if (offset >= m_size)
        return {};
    const std::uint64_t wanted = std::min<std::uint64_t>({length, kMaxPiece, m_size - offset});
    if (within(0, m_head, offset, wanted))
        return m_head.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(wanted));
    if (within(m_pieceAt, m_piece, offset, wanted))
        return m_piece.substr(static_cast<std::size_t>(offset - m_pieceAt), static_cast<std::size_t>(wanted));
    if (m_reads >= kMaxReads)
        return {};
    ++m_reads;
    std::string bytes;
    if (m_file.readAt(offset, static_cast<std::size_t>(wanted), bytes) != FsError::None)
        return {};
    bytes.resize(std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(wanted)));
    m_pieceAt = offset;
    m_piece = bytes;
    return bytes;
}

std::uint64_t FilePieces::be(std::string_view bytes, std::size_t at, std::size_t width)
{
    if (at > bytes.size() || width > bytes.size() - at)
        return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint64_t FilePieces::le(std::string_view bytes, std::size_t at, std::size_t width)
{
    if (at > bytes.size() || width > bytes.size() - at)
        return 0;
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i - 1]);
    return value;
}

} // namespace zanto
