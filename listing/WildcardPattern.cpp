#include "listing/WildcardPattern.h"

#include "rename/AsciiCase.h"

#include <algorithm>

namespace zanto {

namespace {

// Length of the character starting at name[pos]: a whole UTF-8 sequence when
// the bytes form a valid one, else a single byte.
std::size_t charLength(std::string_view name, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(name[pos]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 1 || pos + length > name.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(name[pos + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
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
