// The extension rule and the name check over any bytes.
#include "rename/FileNameParts.h"
#include "rename/NameRules.h"
#include "rename/PathRule.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

using zanto::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string name(reinterpret_cast<const char*>(data), size);

    const std::string extension = zanto::extensionOf(name);
    const std::string stem = zanto::stemOf(name);
    require(stem + extension == name, "stem and extension make the name");
    if (extension.empty()) {
        require(name.find('.') == std::string::npos || name.ends_with('.'), "no extension: no dot or a final dot");
    } else {
        require(extension.size() >= 2 && extension[0] == '.', "extension is a dot and something");
        require(extension.find('.', 1) == std::string::npos, "extension starts at the last dot");
    }

    bool anyForbidden = false;
    for (const char ch : name)
        anyForbidden = anyForbidden || zanto::isForbiddenChar(static_cast<unsigned char>(ch));
    require(zanto::containsForbidden(name) == anyForbidden, "whole-text check agrees with the key filter");

    const std::string path = zanto::joinPath("/folder", name);
    require(path == "/folder/" + name, "path is folder, separator, name");
    require(zanto::joinPath("/", name) == "/" + name, "root gets no second separator");
    return 0;
}
