#include "StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

namespace zanto {

void openMissingStandardStreams()
{
    for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1)
            continue;
        // The lowest free number is taken, which is this one.
        const int opened = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != -1 && opened != stream)
            ::close(opened);
    }
}

} // namespace zanto
