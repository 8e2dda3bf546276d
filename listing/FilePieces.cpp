#include "listing/FilePieces.h"

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

FilePieces::FilePieces(ReadableFile& file, int maxReads) : m_file(file), m_size(file.size()), m_maxReads(maxReads)
{
    if (m_file.readAt(0, kHeadBytes, m_head) != FsError::None)
        m_head.clear();
    m_reads = 1;
}

std::string_view FilePieces::read(std::uint64_t offset, std::size_t length)
{
    if (offset >= m_size)
        return {};
    const std::uint64_t wanted = std::min<std::uint64_t>({length, kMaxPiece, m_size - offset});
    if (within(0, m_head, offset, wanted))
        return std::string_view(m_head).substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(wanted));
    if (within(m_pieceAt, m_piece, offset, wanted))
        return std::string_view(m_piece).substr(static_cast<std::size_t>(offset - m_pieceAt), static_cast<std::size_t>(wanted));
    if (m_reads >= m_maxReads)
        return {};
    ++m_reads;
    // A few KiB at least: a box header or an item's offset is soon followed
    // by a read of what comes right after it, and a page costs no more.
    const std::uint64_t fetch = std::max<std::uint64_t>(wanted, std::min<std::uint64_t>(kHeadBytes, m_size - offset));
    if (m_file.readAt(offset, static_cast<std::size_t>(fetch), m_piece) != FsError::None) {
        m_piece.clear();
        return {};
    }
    m_pieceAt = offset;
    return std::string_view(m_piece).substr(0, static_cast<std::size_t>(wanted));
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
