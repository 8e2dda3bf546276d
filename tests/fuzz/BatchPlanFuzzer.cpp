// The batch rename over an in-memory folder: any folder contents, list, base
// name, name limit, random draws and one injected failure. Checks the plan's
// temporary names and, for a plan that is ready, where every file ends.
#include "rename/AsciiCase.h"
#include "rename/BatchRename.h"
#include "tests/fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace zanto;
using zanto::fuzz::require;

const std::string kFolder = "/memory";

// One folder held in a map from name to a file number; every rename keeps the
// number, so where each file went can be checked. Case-sensitive, as on Linux.
class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::string, int> files;
    std::size_t nameLimit = 255;
    std::size_t failAtRename = SIZE_MAX; // this rename fails with FsError::Other
    std::size_t renames = 0;

    FsError renameNoReplace(const std::string& from, const std::string& to) override
    {
        if (renames++ == failAtRename)
            return FsError::Other;
        const auto source = files.find(nameOf(from));
        if (source == files.end())
            return FsError::FileNotFound;
        if (files.contains(nameOf(to)))
            return FsError::FileExists;
        const int file = source->second;
        files.erase(source);
        files.emplace(nameOf(to), file);
        return FsError::None;
    }
    bool canOpenForReading(const std::string& path) override { return files.contains(nameOf(path)); }
    bool exists(const std::string& path) override { return files.contains(nameOf(path)); }
    bool sameFile(const std::string& a, const std::string& b) override { return a == b && exists(a); }
    FsError listNames(const std::string&, std::vector<std::string>& names) override
    {
        for (const auto& entry : files)
            names.push_back(entry.first);
        return FsError::None;
    }
    std::size_t maxNameLength(const std::string&) override { return nameLimit; }
    std::optional<FileStamp> stamp(const std::string& path) override
    {
        if (path == kFolder)
            return FileStamp{};
        const auto found = files.find(nameOf(path));
        if (found == files.end())
            return std::nullopt;
        return FileStamp{0, static_cast<std::uint64_t>(found->second) + 1, 0, 0, true};
    }
    FsError removeFile(const std::string& path) override
    {
        return files.erase(nameOf(path)) != 0 ? FsError::None : FsError::FileNotFound;
    }
    // Not used by the batch.
    FsError readEntries(const std::string&, const EntryBatchTaker&) override { return FsError::Other; }
    FsError status(const std::string&, FileStatus&) override { return FsError::Other; }
    FsError readFile(const std::string&, std::size_t, std::string&) override { return FsError::Other; }

private:
    static std::string nameOf(const std::string& path)
    {
        require(path.starts_with(kFolder + "/"), "paths lie in the working folder");
        return path.substr(kFolder.size() + 1);
    }
};

// A name the fuzzer can aim at the temporary names: plain bytes, or the
// prefix's form with a chosen number, position and extension.
std::string makeName(FuzzedDataProvider& input)
{
    std::string name = input.ConsumeBool() ? "連番" + std::to_string(input.ConsumeIntegralInRange<unsigned>(0, 60)) + "変換失敗"
                                              + input.ConsumeRandomLengthString(8)
                                        : input.ConsumeRandomLengthString(24);
    std::erase(name, '/');
    std::erase(name, '\0');
    return name == "." || name == ".." ? std::string() : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    MemoryFileSystem fs;
    fs.nameLimit = input.ConsumeIntegralInRange<std::size_t>(1, 300);
    std::string base = input.ConsumeRandomLengthString(16);
    std::erase(base, '/');
    std::erase(base, '\0');

    // The folder, the list in any order, and a few listed names already gone.
    std::vector<std::string> entries;
    std::set<std::string> seen;
    for (int i = 0, count = input.ConsumeIntegralInRange<int>(0, 40); i < count; ++i) {
        const std::string name = makeName(input);
        if (name.empty() || !seen.insert(name).second)
            continue;
        const int kind = input.ConsumeIntegralInRange<int>(0, 3); // 0 unlisted, 3 listed but gone
        if (kind != 3)
            fs.files.emplace(name, i);
        if (kind != 0)
            entries.insert(entries.begin() + static_cast<long>(input.ConsumeIntegralInRange<std::size_t>(0, entries.size())), name);
    }
    if (input.ConsumeBool())
        fs.failAtRename = input.ConsumeIntegralInRange<std::size_t>(0, 2 * entries.size() + 1);

    std::vector<double> draws;
    while (draws.size() < 256 && input.remaining_bytes() > 0)
        draws.push_back(input.ConsumeProbability<double>());
    std::size_t drawn = 0;
    const RandomSource random = [&] { return draws.empty() ? 0.0 : draws[drawn++ % draws.size()]; };

    const std::map<std::string, int> before = fs.files;
    const BatchPlan plan = planBatch(kFolder, entries, base, fs, random);

    // The plan: no temporary name is taken, in any letter case, by a file
    // of the folder or a new name of the run.
    require(plan.items.size() == entries.size(), "one item per entry");
    std::set<std::string> taken;
    for (const auto& entry : before)
        taken.insert(asciiFolded(entry.first));
    for (const BatchItem& item : plan.items)
        taken.insert(asciiFolded(item.final));
    std::set<std::string> temporaries;
    for (const BatchItem& item : plan.items) {
        require(temporaries.insert(asciiFolded(item.temporary)).second, "temporaries distinct");
        require(!taken.contains(asciiFolded(item.temporary)), "no temporary name is taken");
    }
    if (plan.status != PlanStatus::Ready)
        return 0;

    // Where every file ends: none lost, none outside the list moved, each
    // listed one where the report says, all back after a stop.
    const BatchReport report = applyBatch(plan, fs);
    require(fs.files.size() == before.size(), "no file lost");
    std::map<int, std::string> nameOfFile;
    for (const auto& entry : fs.files)
        nameOfFile[entry.second] = entry.first;
    std::set<std::string> listed(entries.begin(), entries.end());
    for (const auto& entry : before) {
        if (!listed.contains(entry.first))
            require(nameOfFile[entry.second] == entry.first, "unlisted files untouched");
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto original = before.find(plan.items[i].original);
        if (original == before.end())
            continue; // gone before the run
        require(nameOfFile[original->second] == BatchReport::currentName(plan.items[i], report.state(i)),
                "report says where the file is");
        require(!report.stopped() || report.state(i) == EntryState::Original, "a stopped run restores every name");
    }
    return 0;
}
