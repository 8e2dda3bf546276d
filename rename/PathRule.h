#pragma once

#include <string>

namespace zanto {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The path of a file of the working folder: the folder, one separator, the
// bare name. A folder that already ends with the separator (a drive's or the
// file system's root) gets no second one.
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace zanto
