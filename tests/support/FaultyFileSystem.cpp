#include "FaultyFileSystem.h"

#include "rename/AsciiCase.h"

#include <algorithm>

namespace zanto::test {

namespace {

std::pair<std::string, std::string> split(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string baseName(const std::string& path)
{
    return split(path).second;
}

} // namespace

void FaultyFileSystem::before(Call call, std::size_t nth, std::function<void()> hook)
{
    m_hooks[{call, nth}] = std::move(hook);
}

std::size_t FaultyFileSystem::calls(Call call) const
{
    const auto found = m_calls.find(call);
    return found == m_calls.end() ? 0 : found->second;
}

std::size_t FaultyFileSystem::count(Call call)
{
    const std::size_t nth = ++m_calls[call];
    const auto hook = m_hooks.find({call, nth});
    if (hook != m_hooks.end())
        hook->second();
    return nth;
}

std::string FaultyFileSystem::resolve(const std::string& path)
{
    if (!m_caseInsensitive)
        return path;
    const auto [folder, name] = split(path);
    std::vector<std::string> names;
    if (m_native.listNames(folder, names) != FsError::None)
        return path;
    const auto match =
        std::find_if(names.begin(), names.end(), [&](const auto& n) { return equalIgnoringAsciiCase(n, name); });
    return match == names.end() ? path : (folder == "/" ? "/" : folder + "/") + *match;
}

FsError FaultyFileSystem::renameNoReplace(const std::string& from, const std::string& to)
{
    const std::size_t nth = count(Call::Rename);
    const auto fault = m_renameFaults.find(nth);
    if (fault != m_renameFaults.end())
        return fault->second;
    // A case-insensitive file system finds the target under any case, the
    // file being renamed included.
    if (m_caseInsensitive && m_native.exists(resolve(to)))
        return FsError::FileExists;
    const FsError error = m_native.renameNoReplace(resolve(from), to);
    if (error == FsError::None)
        m_renames.emplace_back(baseName(from), baseName(to));
    return error;
}

bool FaultyFileSystem::canOpenForReading(const std::string& path)
{
    count(Call::CanOpen);
    return m_native.canOpenForReading(resolve(path));
}

bool FaultyFileSystem::exists(const std::string& path)
{
    count(Call::Exists);
    return m_native.exists(resolve(path));
}

bool FaultyFileSystem::sameFile(const std::string& a, const std::string& b)
{
    count(Call::SameFile);
    return m_native.sameFile(resolve(a), resolve(b));
}

FsError FaultyFileSystem::listNames(const std::string& folder, std::vector<std::string>& names)
{
    count(Call::ListNames);
    return m_native.listNames(folder, names);
}

std::size_t FaultyFileSystem::maxNameLength(const std::string& folder)
{
    count(Call::MaxNameLength);
    return m_maxNameLength ? *m_maxNameLength : m_native.maxNameLength(folder);
}

FsError FaultyFileSystem::removeFile(const std::string& path)
{
    count(Call::RemoveFile);
    return m_native.removeFile(resolve(path));
}

} // namespace zanto::test
