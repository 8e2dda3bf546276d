#include "listing/XmlCapture.h"

#include <array>
#include <initializer_list>

namespace zanto {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of `name` where it is an attribute (name="…"), an element
// (<name>…<) or an element with a value attribute (<name value="…"/>).
std::optional<std::string_view> valueOf(std::string_view xml, std::string_view name)
{
    for (std::size_t at = xml.find(name); at != std::string_view::npos; at = xml.find(name, at + 1)) {
        if (at == 0 || (xml[at - 1] != '<' && !isSpace(xml[at - 1])))
            continue;
        std::size_t next = at + name.size();
        if (next >= xml.size())
            return std::nullopt;
        std::string_view rest = xml.substr(next);
        if (rest.front() == '>') {
            rest.remove_prefix(1);
            return rest.substr(0, rest.find('<'));
        }
        if (xml[at - 1] == '<' && isSpace(rest.front())) { // <name value="…"
            const std::size_t value = rest.find("value=");
            if (value == std::string_view::npos || value > rest.find('>'))
                continue;
            rest.remove_prefix(value + 5);
        }
        if (rest.empty() || rest.front() != '=' || rest.size() < 2 || (rest[1] != '"' && rest[1] != '\''))
            continue;
        const char quote = rest[1];
        rest.remove_prefix(2);
        return rest.substr(0, rest.find(quote));
    }
    return std::nullopt;
}

} // namespace

std::optional<Capture> XmlCapture::of(std::string_view xml)
{
    constexpr std::array<std::string_view, 4> kDates{"exif:DateTimeOriginal", "photoshop:DateCreated",
                                                     "xmp:CreateDate", "CreationDate"};
    const auto first = [&](std::initializer_list<std::string_view> names) {
        for (const std::string_view name : names) {
            if (const auto value = valueOf(xml, name))
                return std::string(*value);
        }
        return std::string();
    };
    Capture capture;
    for (const std::string_view name : kDates) {
        const auto value = valueOf(xml, name);
        if ((capture.moment = value ? CaptureMoment::fromIso(*value) : std::nullopt))
            break;
    }
    capture.camera = {first({"tiff:Make", "manufacturer"}), first({"tiff:Model", "modelName"}),
                      first({"exifEX:BodySerialNumber", "aux:SerialNumber", "serialNo"})};
    if (!capture.moment && !capture.camera.known())
        return std::nullopt;
    return capture;
}

} // namespace zanto
