#include "listing/BoxWalker.h"

#include "listing/FilePieces.h"

#include <algorithm>

namespace zanto {

BoxWalker::BoxWalker(FilePieces& pieces, std::uint64_t begin, std::uint64_t end)
    : m_pieces(pieces), m_at(begin), m_end(std::min(end, pieces.size()))
{
}

std::optional<Box> BoxWalker::next()
{
    if (m_walked >= kMaxBoxes || m_at >= m_end || m_end - m_at < 8)
        return std::nullopt;
    ++m_walked;
    const std::string_view header = m_pieces.read(m_at, 16);
    if (header.size() < 8)
        return std::nullopt;
    Box box{std::string(header.substr(4, 4)), m_at, m_at + 8, m_end};
    const std::uint64_t size = FilePieces::be(header, 0, 4);
    std::uint64_t length = size;
    if (size == 1) { // a 64-bit size follows the type
        if (header.size() < 16)
            return std::nullopt;
        length = FilePieces::be(header, 8, 8);
        box.body += 8;
    } else if (size == 0) { // to the end of the file (or of the parent)
        length = m_end - m_at;
    }
    if (length < box.body - box.start)
        return std::nullopt;
    box.end = length > m_end - m_at ? m_end : m_at + length;
    m_at = box.end;
    return box;
}

std::optional<Box> BoxWalker::find(std::string_view type)
{
    while (auto box = next()) {
        if (box->type == type)
            return box;
    }
    return std::nullopt;
}

} // namespace zanto
