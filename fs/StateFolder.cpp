#include "StateFolder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
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

bool writeAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t step = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return false;
        done += static_cast<std::size_t>(step);
    }
    return true;
}

// Each piece is sent on its way to the disk as soon as it is written, so
// that the closing fsync has little left to wait for.
bool writePieces(int fd, const JournalFiles::Pieces& pieces)
{
    off_t written = 0;
    for (std::string piece; pieces(piece);) {
        if (!writeAll(fd, piece))
            return false;
#ifdef SYNC_FILE_RANGE_WRITE
        ::sync_file_range(fd, written, static_cast<off_t>(piece.size()), SYNC_FILE_RANGE_WRITE);
#endif
        written += static_cast<off_t>(piece.size());
    }
    return true;
}

// A write lock on the whole file, held by this open file description.
// EAGAIN/EACCES: another process holds it.
bool lockFile(int fd, bool& busy)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    busy = false;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return true;
    busy = errno == EAGAIN || errno == EACCES;
    return false;
}

// A plain file of the folder, never through a link, never waiting on a FIFO.
int openPlain(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || static_cast<unsigned long long>(info.st_size) > StateFolder::kMaxFileSize) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<std::string> readAll(int fd)
{
    std::string bytes;
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
        offset += got;
        if (bytes.size() > StateFolder::kMaxFileSize)
            return std::nullopt;
    }
}

// Blocks past the end, the size left alone, so the text reads as before.
// False only for want of space.
bool reserveRoom(int fd, std::size_t bytes)
{
    struct stat info {};
    if (bytes == 0 || ::fstat(fd, &info) != 0
        || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, info.st_size, static_cast<off_t>(bytes)) == 0)
        return true;
    return errno != ENOSPC && errno != EDQUOT;
}

class HeldJournal final : public OpenJournal {
public:
    HeldJournal(std::string name, int fd) : m_name(std::move(name)), m_fd(fd) {}
    ~HeldJournal() override { ::close(m_fd); }
    HeldJournal(const HeldJournal&) = delete;
    HeldJournal& operator=(const HeldJournal&) = delete;

    const std::string& name() const override { return m_name; }
    bool append(const std::string& bytes) override
    {
        if (m_refusing)
            return false;
        const off_t end = ::lseek(m_fd, 0, SEEK_END);
        if (end < 0)
            return false;
        if (writeAll(m_fd, bytes) && ::fdatasync(m_fd) == 0)
            return true;
        const int error = errno;
        m_refusing = !cutTo(static_cast<std::size_t>(end));
        errno = error;
        return false;
    }
    bool reserve(std::size_t bytes) override { return reserveRoom(m_fd, bytes); }
    bool cutTo(std::size_t size) override
    {
        return ::ftruncate(m_fd, static_cast<off_t>(size)) == 0 && ::fdatasync(m_fd) == 0;
    }

private:
    std::string m_name;
    int m_fd;
    bool m_refusing = false;
};

// Never the same twice, even for two runs in one nanosecond of one process.
std::string uniqueSuffix()
{
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) + '-'
        + std::to_string(::getpid()) + '-' + std::to_string(counter++);
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
    // EINVAL: a file system that has no way to sync a folder.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

bool StateFolder::syncSelf()
{
    return sync(m_path, true);
}

std::error_code StateFolder::failed()
{
    m_lastError = std::error_code(errno, std::generic_category());
    return m_lastError;
}

std::unique_ptr<OpenJournal> StateFolder::create(const std::string& prefix, const Pieces& pieces, std::size_t room)
{
    m_lastError.clear();
    if (!makeFolders(m_path))
        return failed(), nullptr;
    // Written under a name the scan for journals passes over, locked before
    // it gets its own name, so that no other copy ever sees it unheld.
    const std::string name = prefix + uniqueSuffix();
    const std::string temporary = pathOf("." + name + ".new");
    const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return failed(), nullptr;
    bool busy = false;
    ++m_syncs;
    if (!lockFile(fd, busy) || !writePieces(fd, pieces) || !reserveRoom(fd, room) || ::fsync(fd) != 0
        || ::rename(temporary.c_str(), pathOf(name).c_str()) != 0) {
        failed();
        ::unlink(temporary.c_str());
        ::close(fd);
        return nullptr;
    }
    auto held = std::make_unique<HeldJournal>(name, fd);
    if (!syncSelf()) {
        failed();
        ::unlink(pathOf(name).c_str());
        return nullptr;
    }
    return held;
}

JournalFiles::Opened StateFolder::open(const std::string& name)
{
    Opened opened;
    const int fd = openPlain(pathOf(name), O_RDWR);
    if (fd < 0)
        return opened;
    if (!lockFile(fd, opened.busy)) {
        ::close(fd);
        return opened;
    }
    auto bytes = readAll(fd);
    if (!bytes) {
        ::close(fd);
        return opened;
    }
    opened.bytes = std::move(*bytes);
    opened.file = std::make_unique<HeldJournal>(name, fd);
    return opened;
}

std::vector<std::string> StateFolder::names(const std::string& prefix)
{
    std::vector<std::string> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(m_path.c_str()), ::closedir);
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.starts_with(prefix))
            found.emplace_back(name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool StateFolder::write(const std::string& name, const std::string& bytes)
{
    if (!makeFolders(m_path))
        return false;
    const std::string temporary = pathOf("." + name + ".new");
    ::unlink(temporary.c_str());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ++m_syncs;
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.c_str(), pathOf(name).c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return syncSelf();
}

std::optional<std::string> StateFolder::read(const std::string& name)
{
    const int fd = openPlain(pathOf(name), O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    auto bytes = readAll(fd);
    ::close(fd);
    return bytes;
}

bool StateFolder::move(const std::string& from, const std::string& to)
{
    return ::rename(pathOf(from).c_str(), pathOf(to).c_str()) == 0 && syncSelf();
}

bool StateFolder::remove(const std::string& name)
{
    return ::unlink(pathOf(name).c_str()) == 0 && syncSelf();
}

bool StateFolder::syncFolder(const std::string& folder)
{
    return sync(folder, true);
}

} // namespace zanto
