#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zanto {

// The file list's filter: ";"-separated patterns, "*" matching any run of
// characters and "?" exactly one, letter case ignored. Names are native bytes:
// "?" takes one UTF-8 character where the bytes form one, else one byte; case
// folding is ASCII only, so other bytes must match exactly.
class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view patterns);

    // True when `name` matches at least one of the patterns.
    bool matches(std::string_view name) const;

private:
    enum class Kind {
        Everything,    // "*", "**", ...
        Suffix,        // "*" + literal, the usual "*.jpg"
        Exact,         // no wildcard at all
        General,       // anything else
    };
    struct Piece {
        Kind kind;
        std::string text; // folded; for Suffix the literal after the "*"
    };

    static bool matchGeneral(std::string_view pattern, std::string_view name);

    std::vector<Piece> m_pieces;
};

} // namespace zanto
