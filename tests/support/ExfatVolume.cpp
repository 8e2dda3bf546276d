#include "ExfatVolume.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace zanto::test {

namespace {

// The command's first line of output, or "" when it failed.
std::string firstLine(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::array<char, 256> line{};
    if (!pipe || std::fgets(line.data(), line.size(), pipe.get()) == nullptr)
        return {};
    std::string text(line.data());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

ExfatVolume::ExfatVolume()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zanto-exfat-XXXXXX").string();
    if (::geteuid() != 0 || ::mkdtemp(pattern.data()) == nullptr)
        return;
    m_folder = pattern;
    m_mountPoint = m_folder + "/card";
    const std::string image = m_folder + "/card.img";
    std::filesystem::create_directory(m_mountPoint);
    if (std::system(("truncate -s 16M " + image + " && mkfs.exfat " + image + " >/dev/null 2>&1").c_str()) != 0)
        return;
    m_loop = firstLine("losetup -f --show " + image + " 2>/dev/null");
    if (m_loop.empty())
        return;
    m_mounted = std::system(("mount.exfat-fuse " + m_loop + " " + m_mountPoint + " >/dev/null 2>&1").c_str()) == 0;
}

ExfatVolume::~ExfatVolume()
{
    if (m_mounted)
        std::system(("umount " + m_mountPoint + " >/dev/null 2>&1").c_str());
    if (!m_loop.empty())
        std::system(("losetup -d " + m_loop + " >/dev/null 2>&1").c_str());
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

} // namespace zanto::test
