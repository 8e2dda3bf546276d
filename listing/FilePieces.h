#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zanto {

class ReadableFile;

// The pieces of one file that a reader of its metadata asks for, each read
// capped, and their number capped too, so that a file whose offsets point
// anywhere costs a few small reads and never the whole file. The first
// 4 KiB are read at once, and every later read takes 4 KiB at least; a piece
// inside the first 4 KiB or inside the last piece read costs no further read.
class FilePieces {
public:
    static constexpr std::size_t kHeadBytes = 4 * 1024;
    static constexpr std::size_t kMaxPiece = 256 * 1024;
    static constexpr int kMaxReads = 64;

    // `maxReads`: more for bytes already in memory, where a read costs nothing.
    explicit FilePieces(ReadableFile& file, int maxReads = kMaxReads);

    std::uint64_t size() const { return m_size; }
    const std::string& head() const { return m_head; }

    // Up to min(length, kMaxPiece) bytes from `offset`; fewer at the end of
    // the file, none once the reads are used up or on an error. The bytes
    // stay valid until the next read.
    std::string_view read(std::uint64_t offset, std::size_t length);

    // Big- and little-endian numbers at `at` in `bytes`; 0 where they would
    // run past its end, which no caller takes for a valid value.
    static std::uint64_t be(std::string_view bytes, std::size_t at, std::size_t width);
    static std::uint64_t le(std::string_view bytes, std::size_t at, std::size_t width);

private:
    ReadableFile& m_file;
    std::uint64_t m_size = 0;
    std::string m_head;
    std::uint64_t m_pieceAt = 0;
    std::string m_piece;
    int m_reads = 0;
    int m_maxReads;
};

} // namespace zanto
