#include "StateFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zanto {

namespace {

// mkdir -p, owner only: the journal names the user's files.
bool makeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

StateFolder::StateFolder(std::string path) : m_path(std::move(path)) {}

std::string StateFolder::defaultPath()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/TOLVA";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/TOLVA";
}

std::string StateFolder::pathOf(const std::string& name) const
{
    return m_path + "/" + name;
}

bool StateFolder::sync(const std::string& path, bool folder)
{
    const int fd = ::open(path.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_WRONLY) | O_CLOEXEC);
    if (fd < 0)
        return false;
    ++m_syncs;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool StateFolder::write(const std::string& name, const std::string& bytes)
{
    if (!makeFolders(m_path))
        return false;
    const std::string temporary = pathOf(name + ".new");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const ssize_t step = ::write(fd, bytes.data() + done, bytes.size() - done);
        written = step > 0 || (step < 0 && errno == EINTR);
        done += step > 0 ? static_cast<std::size_t>(step) : 0;
    }
    ++m_syncs;
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), pathOf(name).c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return sync(m_path, true);
}

std::optional<std::string> StateFolder::read(const std::string& name)
{
    std::FILE* file = std::fopen(pathOf(name).c_str(), "rbe");
    if (file == nullptr)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

bool StateFolder::move(const std::string& from, const std::string& to)
{
    return ::rename(pathOf(from).c_str(), pathOf(to).c_str()) == 0 && sync(m_path, true);
}

bool StateFolder::remove(const std::string& name)
{
    return ::unlink(pathOf(name).c_str()) == 0 && sync(m_path, true);
}

void StateFolder::syncFolder(const std::string& folder)
{
    sync(folder, true);
}

} // namespace zanto
