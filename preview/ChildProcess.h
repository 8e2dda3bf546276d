#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

namespace zanto {

// How a child process ended, and what it wrote.
struct ChildResult {
    enum class Status {
        Exited,     // ended on its own; see exitCode
        Stopped,    // killed: past its deadline, its output limit, or no longer wanted
        Crashed,    // ended by a signal of its own
        NotStarted, // no pipe or no process could be made
    };
    Status status = Status::NotStarted;
    int exitCode = -1;
    std::string output; // complete only when it exited
};

// A short-lived child process that decoding libraries run in, so that a
// damaged file which crashes or hangs them never takes the window down: it is
// handed its input on one pipe, its result is read from another, and it is
// killed at a deadline, past an output limit, or once the stop token is
// requested.
class ChildProcess {
public:
    struct Limits {
        std::chrono::milliseconds timeout;
        std::size_t outputLimit;
    };

    // Forks; the child calls `childMain(input, output)` with the two file
    // descriptors, its standard output and error sent to /dev/null, and must
    // end by _exit or exec. Only async-signal-safe calls
    // are sure to work there when other threads run. `input` is written to the
    // child while its output is read.
    static ChildResult run(const std::function<void(int input, int output)>& childMain, std::string_view input,
                           const Limits& limits, std::stop_token stop = {});

    // In the child: all of `bytes` written to `fd`, or false.
    static bool writeAll(int fd, std::string_view bytes);
};

} // namespace zanto
