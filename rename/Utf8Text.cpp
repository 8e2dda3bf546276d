#include "rename/Utf8Text.h"

namespace zanto {

Utf8Char utf8CharAt(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    Utf8Char ch{lead, 1, lead < 0x80};
    std::size_t length = 1;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    }
    if (length == 1 || pos + length > text.size())
        return ch;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return ch;
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length, true};
}

std::size_t utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char ch = utf8CharAt(text, pos);
        units += ch.code > 0xFFFF ? 2 : 1;
        pos += ch.length;
    }
    return units;
}

} // namespace zanto
