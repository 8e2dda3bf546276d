#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zanto {

class FilePieces;

// One ISO base media box (MP4, MOV, HEIF, CR3): where it starts, where its
// content starts and where it ends, all inside its parent.
struct Box {
    std::string type;
    std::uint64_t start = 0;
    std::uint64_t body = 0;
    std::uint64_t end = 0;
};

// The boxes between `begin` and `end`, one header read each, so that a box
// far behind a large one (a video's moov after its mdat) costs one small
// read per box before it. Walks at most kMaxBoxes boxes; a box that claims
// to run past its parent ends at the parent's end.
class BoxWalker {
public:
    static constexpr int kMaxBoxes = 512;

    BoxWalker(FilePieces& pieces, std::uint64_t begin, std::uint64_t end);

    std::optional<Box> next();
    // The next box of `type`.
    std::optional<Box> find(std::string_view type);

private:
    FilePieces& m_pieces;
    std::uint64_t m_at;
    std::uint64_t m_end;
    int m_walked = 0;
};

} // namespace zanto
