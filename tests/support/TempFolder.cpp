#include "TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zanto::test {

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "zanto-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content)
{
    std::ofstream(pathOf(name), std::ios::binary) << (content.empty() ? "content of " + name : content);
}

void TempFolder::writeAll(const std::vector<std::string>& names)
{
    for (const auto& name : names)
        write(name);
}

std::string TempFolder::makeSubfolder(const std::string& name)
{
    fs::create_directory(pathOf(name));
    return pathOf(name);
}

std::map<std::string, std::string> contentsOf(const std::string& folder)
{
    std::map<std::string, std::string> result;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file())
            result[entry.path().filename().string()] = readFile(entry.path().string());
    }
    return result;
}

std::vector<std::string> TempFolder::names() const
{
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(m_path))
        result.push_back(entry.path().filename().string());
    std::sort(result.begin(), result.end());
    return result;
}

std::string readFile(const std::string& path)
{
    std::ostringstream data;
    data << std::ifstream(path, std::ios::binary).rdbuf();
    return data.str();
}

} // namespace zanto::test
