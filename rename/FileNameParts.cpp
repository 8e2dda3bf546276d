#include "FileNameParts.h"

#include <algorithm>

namespace zanto {

std::string extensionOf(const std::string& name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size())
        return {};
    return name.substr(dot);
}

std::string stemOf(const std::string& name)
{
    return name.substr(0, name.size() - extensionOf(name).size());
}

bool equalFolded(std::string_view a, std::string_view b)
{
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; };
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace zanto
