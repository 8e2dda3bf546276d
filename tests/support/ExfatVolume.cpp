#include "ExfatVolume.h"

#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace zanto::test {

namespace {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

ExfatVolume::ExfatVolume()
{
    char pattern[] = "/tmp/zanto-exfat-XXXXXX";
    if (::geteuid() != 0 || !::mkdtemp(pattern))
        return;
    m_folder = pattern;
    m_mountPoint = m_folder + "/card";
    const std::string image = m_folder + "/card.img";
    std::filesystem::create_directory(m_mountPoint);
    if (!run("truncate -s 8M " + image) || !run("mkfs.exfat " + image)
        || std::system(("losetup -f --show " + image + " >" + m_folder + "/device").c_str()) != 0)
        return;
    m_device = readFile(m_folder + "/device");
    while (!m_device.empty() && m_device.back() == '\n')
        m_device.pop_back();
    m_mounted = !m_device.empty() && run("timeout 20 mount.exfat-fuse " + m_device + " " + m_mountPoint);
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
