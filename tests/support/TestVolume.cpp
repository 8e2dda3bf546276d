#include "TestVolume.h"

#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace zanto::test {

namespace {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A FUSE daemon that hangs must not hang the suite: then detach the mount.
void unmount(const std::string& mountPoint)
{
    if (!run("timeout 20 umount " + mountPoint))
        run("umount -l " + mountPoint);
}

} // namespace

TestVolume::TestVolume(Kind kind, const Files& lowerFiles, std::size_t bytes)
{
    char pattern[] = "/tmp/zanto-volume-XXXXXX";
    if (::geteuid() != 0 || !::mkdtemp(pattern))
        return;
    m_folder = pattern;
    m_mountPoint = m_folder + "/volume";
    std::filesystem::create_directory(m_mountPoint);
    switch (kind) {
    case Kind::Exfat:
        m_mounted = mountImage("mkfs.exfat", "mount.exfat-fuse");
        break;
    case Kind::FatFuse:
        m_mounted = mountImage("mkfs.vfat", "fusefat -o rw+");
        break;
    case Kind::Overlay:
        m_mounted = mountOverlay(lowerFiles);
        break;
    case Kind::SmallTmpfs:
        m_mounted = run("mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs " + m_mountPoint);
        break;
    }
}

bool TestVolume::mountImage(const std::string& makeCommand, const std::string& mountCommand)
{
    const std::string image = m_folder + "/volume.img";
    if (!run("truncate -s 8M " + image) || !run(makeCommand + " " + image)
        || std::system(("losetup -f --show " + image + " >" + m_folder + "/device").c_str()) != 0)
        return false;
    m_device = readFile(m_folder + "/device");
    while (!m_device.empty() && m_device.back() == '\n')
        m_device.pop_back();
    return !m_device.empty() && run("timeout 20 " + mountCommand + " " + m_device + " " + m_mountPoint);
}

bool TestVolume::mountOverlay(const Files& lowerFiles)
{
    const std::string lower = m_folder + "/lower";
    std::filesystem::create_directory(lower);
    for (const auto& [name, content] : lowerFiles)
        std::ofstream(lower + "/" + name, std::ios::binary) << content;
    // The upper layer on a file system of its own, so that its files too have
    // another device than the ordinary disk.
    std::filesystem::create_directory(m_folder + "/layers");
    if (!run("mount -t tmpfs -o size=8M tmpfs " + m_folder + "/layers"))
        return false;
    m_layers = m_folder + "/layers";
    std::filesystem::create_directory(m_layers + "/upper");
    std::filesystem::create_directory(m_layers + "/work");
    return run("mount -t overlay overlay -o lowerdir=" + lower + ",upperdir=" + m_layers + "/upper,workdir=" + m_layers
               + "/work " + m_mountPoint);
}

bool TestVolume::setReadOnly(bool readOnly)
{
    if (!m_mounted)
        return false;
    if (!m_bound) {
        if (!run("mount --bind " + m_mountPoint + " " + m_mountPoint))
            return false;
        m_bound = true;
    }
    return run("mount -o remount,bind," + std::string(readOnly ? "ro " : "rw ") + m_mountPoint);
}

TestVolume::~TestVolume()
{
    if (m_bound)
        unmount(m_mountPoint);
    if (m_mounted)
        unmount(m_mountPoint);
    if (!m_layers.empty())
        unmount(m_layers);
    if (!m_device.empty())
        run("losetup -d " + m_device);
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

} // namespace zanto::test
