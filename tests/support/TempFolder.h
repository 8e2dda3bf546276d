#pragma once

#include <map>
#include <string>
#include <vector>

namespace zanto::test {

std::string readFile(const std::string& path);
// Every regular file of `folder`, name -> content (not recursive).
std::map<std::string, std::string> contentsOf(const std::string& folder);

// A real folder under the system's temporary folder, removed with its content
// when the object goes away. Files get distinct contents so that a test can
// check, after renaming, which content ended under which name.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string pathOf(const std::string& name) const { return m_path + "/" + name; }

    // Writes `content` (default: "content of <name>") to `name`.
    void write(const std::string& name, const std::string& content = {});
    void writeAll(const std::vector<std::string>& names);
    std::string makeSubfolder(const std::string& name);

    std::map<std::string, std::string> contents() const { return contentsOf(m_path); }
    std::vector<std::string> names() const; // sorted

private:
    std::string m_path;
};

} // namespace zanto::test
