#include "ExfatVolume.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace zanto::test {

namespace {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The first line a command prints, or "" when it fails.
std::string output(const std::string& command)
{
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return {};
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    if (::pclose(pipe) != 0 || !read)
        return {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

ExfatVolume::ExfatVolume()
{
    if (::geteuid() != 0)
        return;
    char pattern[] = "/tmp/zanto-exfat-XXXXXX";
    if (!::mkdtemp(pattern))
        return;
    m_folder = pattern;
    m_mountPoint = m_folder + "/card";
    const std::string image = m_folder + "/card.img";
    std::filesystem::create_directory(m_mountPoint);
    if (!run("truncate -s 8M " + image) || !run("mkfs.exfat " + image))
        return;
    m_device = output("losetup -f --show " + image);
    if (m_device.empty())
        return;
    m_mounted = run("timeout 20 mount.exfat-fuse " + m_device + " " + m_mountPoint);
}

ExfatVolume::~ExfatVolume()
{
    if (m_mounted && !run("timeout 20 umount " + m_mountPoint))
        run("umount -l " + m_mountPoint);
    if (!m_device.empty())
        run("losetup -d " + m_device);
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

} // namespace zanto::test
