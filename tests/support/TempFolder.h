#pragma once

#include <map>
#include <string>
#include <vector>

namespace zanto::test {

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
    std::string pathOf(const std::string& name) const;

    // Writes `content` (default: "content of <name>") to `name`.
    void write(const std::string& name, const std::string& content = {});
    void writeAll(const std::vector<std::string>& names);
    std::string makeSubfolder(const std::string& name);

    // Every regular file of the folder, name -> content (not recursive).
    std::map<std::string, std::string> contents() const;
    std::vector<std::string> names() const; // sorted

private:
    std::string m_path;
};

std::string readFile(const std::string& path);

} // namespace zanto::test
