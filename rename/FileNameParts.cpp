#include "FileNameParts.h"

#include "rename/AsciiCase.h"

#include <algorithm>

namespace zanto {

std::string_view extensionViewOf(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size())
        return {};
    return name.substr(dot);
}

std::string extensionOf(const std::string& name)
{
    return std::string(extensionViewOf(name));
}

std::string stemOf(const std::string& name)
{
    return name.substr(0, name.size() - extensionOf(name).size());
}

std::string nameKeyOf(const NameKey& key, const std::string& name)
{
    return asciiFolded(key ? key(name) : name);
}

} // namespace zanto
