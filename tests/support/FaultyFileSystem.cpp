#include "FaultyFileSystem.h"

#include "rename/AsciiCase.h"

#include <algorithm>

namespace zanto::test {

std::string FaultyFileSystem::resolve(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (!m_caseInsensitive || slash == std::string::npos)
        return path;
    std::vector<std::string> names;
    if (m_native.listNames(slash == 0 ? "/" : path.substr(0, slash), names) != FsError::None)
        return path;
    const auto match = std::find_if(names.begin(), names.end(),
                                    [&](const auto& name) { return equalIgnoringAsciiCase(name, path.substr(slash + 1)); });
    return match == names.end() ? path : path.substr(0, slash + 1) + *match;
}

FsError FaultyFileSystem::renameNoReplace(const std::string& from, const std::string& to)
{
    ++m_renames;
    if (const auto action = m_renameActions.find(m_renames); action != m_renameActions.end())
        action->second();
    const auto fault = m_renameFaults.find(m_renames);
    if (fault != m_renameFaults.end())
        return fault->second;
    // A case-insensitive file system finds the target under any case, the
    // file being renamed included.
    if (m_caseInsensitive && m_native.exists(resolve(to)))
        return FsError::FileExists;
    return m_native.renameNoReplace(resolve(from), to);
}

std::optional<FileStamp> FaultyFileSystem::stamp(const std::string& path)
{
    access("stamp", path);
    auto found = m_native.stamp(resolve(path));
    if (found && !m_inodesLast)
        found->stableInode = false;
    return found;
}

} // namespace zanto::test
