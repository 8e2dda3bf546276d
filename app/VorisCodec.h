#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zanto {

// The stored form of the settings dialog's extension list: the entries joined
// by ";" with the last entry first ("*.png;*.gif;*.jpg" for jpg, gif, png).
// Plain text in, plain text out, so the format can be tested without Qt.
class VorisCodec {
public:
    // The most entries the list carries; the dialog refuses more.
    static constexpr std::size_t kMaxEntries = 101;

    // Last entry first, ";" between entries; the empty text for an empty list.
    // Only the first kMaxEntries entries are taken.
    static std::string join(const std::vector<std::string>& entries);

    // Back into the dialog's order, taking entries from the end of the text:
    // at most kMaxEntries, so a longer text loses its front entries. Empty
    // pieces (a stray ";" in a hand-edited file) are skipped: as an entry they
    // would match nothing.
    static std::vector<std::string> split(std::string_view stored);
};

} // namespace zanto
