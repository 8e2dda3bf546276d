#include "preview/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zanto {

namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// In the child: `fd`, or a copy of it above the standard streams when a
// program started without them was given it in their place, so that
// silencing them leaves it whole.
int aboveStandardStreams(int fd)
{
    return fd > STDERR_FILENO ? fd : ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
}

} // namespace

bool ChildProcess::writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

ChildResult ChildProcess::run(const std::function<void(int input, int output)>& childMain, std::string_view input,
                              const Limits& limits, std::stop_token stop)
{
    ChildResult result;
    // The input goes through a socket: a child that stops reading early then
    // makes send() fail with EPIPE (MSG_NOSIGNAL) instead of raising SIGPIPE.
    int inputEnds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputEnds) != 0)
        return result;
    Fd inputParent(inputEnds[0]);
    Fd inputChild(inputEnds[1]);
    int outputEnds[2];
    if (::pipe2(outputEnds, O_CLOEXEC) != 0)
        return result;
    Fd outputParent(outputEnds[0]);
    Fd outputChild(outputEnds[1]);
    Fd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.valid())
        return result;

    const pid_t child = ::fork();
    if (child < 0)
        return result;
    if (child == 0) {
        ::close(inputParent.get());
        ::close(outputParent.get());
        ::close(wake.get());
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const rlimit noCore {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE})
            std::signal(signal, SIG_DFL);
        const int input = aboveStandardStreams(inputChild.get());
        const int output = aboveStandardStreams(outputChild.get());
        // Decoding libraries complain about damaged files: not on the terminal.
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        childMain(input, output);
        ::_exit(127);
    }
    inputChild.reset();
    outputChild.reset();
    ::fcntl(inputParent.get(), F_SETFL, O_NONBLOCK);
    if (input.empty())
        inputParent.reset();
    // Wakes the wait below at once when the caller gives the work up.
    const std::stop_callback onStop(stop, [&wake] {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake.get(), &one, sizeof one);
    });

    bool complete = false;
    bool stopped = false;
    const auto deadline = std::chrono::steady_clock::now() + limits.timeout;
    char buffer[65536];
    while (!stopped && result.output.size() <= limits.outputLimit) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd ready[3] = {{outputParent.get(), POLLIN, 0}, {wake.get(), POLLIN, 0}, {inputParent.get(), POLLOUT, 0}};
        const nfds_t count = inputParent.valid() ? 3 : 2;
        const int polled = ::poll(ready, count, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        if (ready[1].revents != 0) {
            stopped = true;
            break;
        }
        if (count == 3 && ready[2].revents != 0) {
            const ssize_t sent = ::send(inputParent.get(), input.data(), input.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent > 0)
                input.remove_prefix(static_cast<std::size_t>(sent));
            // Once all is written, or the child stopped reading, the end is
            // closed: the child sees the end of its input, its exit tells the rest.
            if (input.empty() || (sent < 0 && errno != EAGAIN && errno != EINTR))
                inputParent.reset();
        }
        if (ready[0].revents == 0)
            continue;
        const ssize_t got = ::read(outputParent.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(got));
    }
    inputParent.reset();
    outputParent.reset();
    if (!complete)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete) {
        result.status = ChildResult::Status::Stopped;
        result.output.clear();
    } else if (WIFEXITED(status)) {
        result.status = ChildResult::Status::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else {
        result.status = ChildResult::Status::Crashed;
    }
    return result;
}

} // namespace zanto
