#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zanto::test {

// Runs `body` as a user that file permissions apply to: as root, in a forked
// child that has dropped to "nobody" (the folder opened to it first);
// otherwise in this process. Gives what `body` returned (0 to 255).
inline int asUnprivileged(const std::string& folder, const std::function<int()>& body)
{
    if (::geteuid() != 0)
        return body();
    ::chmod(folder.c_str(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

} // namespace zanto::test
