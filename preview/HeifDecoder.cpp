#include "preview/HeifDecoder.h"

#include "preview/ChildProcess.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace zanto {

namespace {

// A 48-megapixel HEIC takes libheif about two seconds on a slow machine.
constexpr std::chrono::milliseconds kDecodeTimeout(10000);
constexpr std::size_t kOutputLimit = std::size_t(64) << 20;
// The status a child gives when exec fails: the shell's "command not found".
constexpr int kNotStarted = 127;

} // namespace

std::string HeifDecoder::helperPath()
{
    if (const char* chosen = std::getenv("ZANTO_HEIF_HELPER"); chosen != nullptr && *chosen != '\0')
        return chosen;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return (program.parent_path() / "zanto-heif").string();
}

HeifDecoder::Result HeifDecoder::decode(std::string_view bytes, QSize box, std::stop_token stop)
{
    const std::string helper = helperPath();
    if (helper.empty() || ::access(helper.c_str(), X_OK) != 0)
        return {Status::NoHelper, {}};
    if (box.isEmpty())
        return {Status::InvalidPicture, {}};
    // Everything the child needs is made before the fork: after it, only
    // async-signal-safe calls are safe while other threads run.
    std::string width = std::to_string(box.width());
    std::string height = std::to_string(box.height());
    char* const arguments[] = {const_cast<char*>(helper.c_str()), width.data(), height.data(), nullptr};
    const ChildResult result = ChildProcess::run(
        [&arguments](int input, int output) {
            ::dup2(input, STDIN_FILENO);
            ::dup2(output, STDOUT_FILENO);
            ::execv(arguments[0], arguments);
            ::_exit(kNotStarted);
        },
        bytes, {kDecodeTimeout, kOutputLimit}, stop);

    if (stop.stop_requested())
        return {Status::Stopped, {}};
    if (result.status == ChildResult::Status::NotStarted
        || (result.status == ChildResult::Status::Exited && result.exitCode == kNotStarted))
        return {Status::NoHelper, {}};
    QImage image;
    if (result.status != ChildResult::Status::Exited || result.exitCode != 0
        || !image.loadFromData(QByteArrayView(result.output.data(), static_cast<qsizetype>(result.output.size())),
                               "PNG"))
        return {Status::InvalidPicture, {}};
    return {Status::Decoded, std::move(image)};
}

} // namespace zanto
