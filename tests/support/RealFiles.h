#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zanto::test {

// Files that real cameras and phones made, beside exiftool's reading of each:
// a check from outside, of what our own samples never thought of. They are
// read where they lie (ZANTO_REAL_FILES, or the folder beside the checkout)
// and the tests are skipped where they are absent.
inline std::filesystem::path realFiles()
{
    const char* given = std::getenv("ZANTO_REAL_FILES");
    return given != nullptr ? given : ZANTO_REAL_FILES;
}

// The rows of expected.tsv, each by its column names; none without the files.
inline std::vector<std::map<std::string, std::string>> realFileRows()
{
    std::ifstream table(realFiles() / "expected.tsv");
    const auto fieldsOf = [](const std::string& line) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        for (std::string field; std::getline(stream, field, '\t');)
            fields.push_back(field);
        return fields;
    };
    std::string line;
    std::getline(table, line);
    const std::vector<std::string> columns = fieldsOf(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(table, line)) {
        const std::vector<std::string> fields = fieldsOf(line);
        std::map<std::string, std::string>& row = rows.emplace_back();
        for (std::size_t i = 0; i < columns.size(); ++i)
            row[columns[i]] = i < fields.size() ? fields[i] : "";
    }
    return rows;
}

} // namespace zanto::test
