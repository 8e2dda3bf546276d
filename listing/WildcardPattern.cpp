#include "listing/WildcardPattern.h"

#include "rename/AsciiCase.h"
#include "rename/Utf8Text.h"

#include <algorithm>

namespace zanto {

namespace {

// Length of the character starting at name[pos]: a whole UTF-8 sequence when
// the bytes form a valid one, else a single byte.
std::size_t charLength(std::string_view name, std::size_t pos)
{
    return utf8CharAt(name, pos).length;
}

} // namespace

WildcardPattern::WildcardPattern(std::string_view patterns)
{
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string_view::npos)
            end = patterns.size();
        const std::string_view piece = patterns.substr(start, end - start);
        start = end + 1;
        if (piece.empty())
            continue;

        const std::string text = asciiFolded(piece);
        const bool onlyStars = text.find_first_not_of('*') == std::string::npos;
        const std::size_t lastWild = text.find_last_of("*?");
        if (onlyStars)
            m_pieces.push_back({Kind::Everything, {}});
        else if (lastWild == std::string::npos)
            m_pieces.push_back({Kind::Exact, text});
        else if (lastWild == 0 && text[0] == '*')
            m_pieces.push_back({Kind::Suffix, text.substr(1)});
        else
            m_pieces.push_back({Kind::General, text});
    }
}

bool WildcardPattern::matches(std::string_view name) const
{
    for (const Piece& piece : m_pieces) {
        switch (piece.kind) {
        case Kind::Everything:
            return true;
        case Kind::Exact:
            if (equalIgnoringAsciiCase(piece.text, name))
                return true;
            break;
        case Kind::Suffix:
            if (name.size() >= piece.text.size()
                && equalIgnoringAsciiCase(piece.text, name.substr(name.size() - piece.text.size())))
                return true;
            break;
        case Kind::General:
            if (matchGeneral(piece.text, name))
                return true;
            break;
        }
    }
    return false;
}

// Greedy matching that backtracks only to the last "*": linear in practice,
// never exponential.
bool WildcardPattern::matchGeneral(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += charLength(name, n);
        } else if (p < pattern.size() && pattern[p] == asciiLower(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += charLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace zanto
