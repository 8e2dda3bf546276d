#include "rename/NewNameTable.h"

#include "rename/AsciiCase.h"
#include "rename/FileNameParts.h"
#include "rename/FileSystem.h"
#include "rename/Fnv1a.h"
#include "rename/PathRule.h"
#include "rename/PortableName.h"
#include "rename/ReadableFile.h"
#include "rename/ShotGroups.h"
#include "rename/Utf8Text.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

constexpr std::size_t kRowsPerBeat = 4096;
constexpr std::size_t kReadChunk = 1 << 20;
// Copies are told from files that merely share a size by their first bytes.
constexpr std::size_t kHeadBytes = 64 * 1024;

// The number a new name writes after the base.
std::string_view numberOf(std::string_view final, std::size_t baseSize)
{
    const std::string_view rest = final.substr(std::min(baseSize, final.size()));
    return rest.substr(0, std::min(rest.find_first_not_of("0123456789"), rest.size()));
}

// Builds the rows of a plan: the files that move, numbered in their order,
// and the shots left out at the place they had in the list.
class RowMaker {
public:
    RowMaker(const BatchPlan& plan, const std::string& base, const std::vector<std::string>& names,
             const BatchOptions& options)
        : m_plan(plan)
        , m_base(base)
        , m_options(options)
        // As the plan decides: with shots or a key, a name held other than
        // byte for byte leaves its entry out, so a clash still in the run is
        // a name held byte for byte.
        , m_leaving(options.shots || static_cast<bool>(options.nameKey))
    {
        for (const NameClash& clash : plan.clashes)
            m_clashOf.emplace(clash.original, &clash);
        std::unordered_set<std::string_view> moving;
        for (const BatchItem& item : plan.items)
            moving.insert(item.original);
        for (const std::string& name : names) {
            if (moving.count(name) == 0)
                m_staying.insert(name);
        }
        if (!plan.clashes.empty()) {
            for (const std::string& name : m_staying)
                m_holderOf.emplace(nameKeyOf(options.nameKey, name), name);
        }
    }

    const std::unordered_set<std::string>& staying() const { return m_staying; }

    // The row of the moving item `next`, and of the items after it that
    // share its number (the rest of its shot); `next` moves past them.
    NewNameRow moved(std::size_t& next) const
    {
        const auto& items = m_plan.items;
        NewNameRow row;
        row.number = numberOf(items[next].final, m_base.size());
        do {
            const BatchItem& item = items[next++];
            row.oldNames.push_back(item.original);
            const bool clashing = m_clashOf.count(item.original) != 0;
            // The final rename finds the name taken.
            if (clashing && (m_leaving || m_staying.count(item.final) != 0)) {
                row.marks |= NameMark::HeldExactly;
                row.holder = item.final;
                row.newNames.push_back(item.temporary);
                continue;
            }
            // Held in another form, where names compare by their bytes alone.
            if (clashing)
                markHolder(row, item.final);
            row.newNames.push_back(item.final);
        } while (m_options.shots && next < items.size() && numberOf(items[next].final, m_base.size()) == row.number);
        return row;
    }

    NewNameRow leftOut(const std::vector<std::string>& members) const
    {
        NewNameRow row;
        row.oldNames = members;
        row.newNames = members;
        row.marks = NameMark::LeftOut;
        for (const std::string& member : members) {
            if (const auto clash = m_clashOf.find(member); clash != m_clashOf.end()) {
                markHolder(row, clash->second->final);
                break;
            }
        }
        return row;
    }

private:
    // Names the file outside the run that holds `final`, and how it holds it.
    void markHolder(NewNameRow& row, const std::string& final) const
    {
        const auto holder = m_holderOf.find(nameKeyOf(m_options.nameKey, final));
        if (holder == m_holderOf.end())
            return;
        row.holder = holder->second;
        row.marks |= row.holder == final                      ? NameMark::HeldExactly
            : equalIgnoringAsciiCase(row.holder, final) ? NameMark::HeldInOtherCase
                                                        : NameMark::HeldInOtherForm;
    }

    const BatchPlan& m_plan;
    const std::string& m_base;
    const BatchOptions& m_options;
    const bool m_leaving;
    std::unordered_map<std::string_view, const NameClash*> m_clashOf;
    std::unordered_set<std::string> m_staying; // the files that keep their names
    std::unordered_map<std::string, std::string> m_holderOf;
};

// The shots of the list in order, for placing those left out: with shots as
// the plan grouped them, without each entry alone.
std::vector<Shot> listedShots(const std::vector<std::string>& entries, const std::vector<std::string>& names,
                              const BatchOptions& options, const Pulse& pulse)
{
    if (options.shots)
        return groupShots(entries, names, options.nameKey, pulse, options.links.get());
    std::vector<Shot> shots;
    shots.reserve(entries.size());
    for (const std::string& entry : entries)
        shots.push_back({entry, {entry}});
    return shots;
}

// The rows of a plan that left shots out, each at its place in the list.
void placeRows(NewNameTable& table, const RowMaker& maker, const BatchPlan& plan,
               const std::vector<std::string>& entries, const std::vector<std::string>& names,
               const BatchOptions& options, std::size_t& next, const Pulse& pulse)
{
    std::unordered_set<std::string_view> left(plan.leftOut.begin(), plan.leftOut.end());
    for (const Shot& shot : listedShots(entries, names, options, pulse)) {
        if (left.erase(shot.entry) != 0)
            table.rows.push_back(maker.leftOut(shot.members));
        else if (next < plan.items.size() && plan.items[next].original == shot.entry)
            table.rows.push_back(maker.moved(next));
        if (table.rows.size() % kRowsPerBeat == 0)
            beat(pulse);
    }
    // Whatever the folder became since the plan read it, every entry left
    // out has its row.
    for (const std::string& entry : plan.leftOut) {
        if (left.count(entry) != 0)
            table.rows.push_back(maker.leftOut({entry}));
    }
}

// A row of companions alone (sidecars, thumbnails, a clip's XML): their
// picture, in the run or not, takes another number or none. A companion's
// picture is the first by the starts its shot would be found by.
void markSidecars(NewNameTable& table, const std::vector<std::string>& names, const NameKey& key,
                  const Pulse& pulse)
{
    // Made for the first sidecar apart, which most runs never have.
    std::unordered_map<std::string, const std::string*> pictureBy;
    const auto index = [&] {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            if (isCompanion(name))
                continue;
            pictureBy.emplace(nameKeyOf(key, name), &name);
            pictureBy.emplace(nameKeyOf(key, stemOf(name)), &name);
            if (i % kRowsPerBeat == 0)
                beat(pulse);
        }
    };
    for (NewNameRow& row : table.rows) {
        if (row.marks.has(NameMark::LeftOut)
            || !std::all_of(row.oldNames.begin(), row.oldNames.end(), [](const auto& name) { return isCompanion(name); }))
            continue;
        row.marks |= NameMark::SidecarApart;
        if (pictureBy.empty())
            index();
        for (const ShotStart& start : shotStartsOf(row.oldNames.front())) {
            if (const auto picture = pictureBy.find(nameKeyOf(key, start.start)); picture != pictureBy.end()) {
                row.picture = *picture->second;
                break;
            }
        }
    }
}

} // namespace

NewNameTable newNameTable(const BatchPlan& plan, const std::vector<std::string>& entries, const std::string& base,
                          const std::vector<std::string>& names, const BatchOptions& options, const Pulse& pulse)
{
    NewNameTable table;
    table.base = base;
    table.shots = options.shots;
    table.files = plan.items.size();
    const RowMaker maker(plan, base, names, options);
    auto& rows = table.rows;
    std::size_t next = 0;
    if (!plan.leftOut.empty())
        placeRows(table, maker, plan, entries, names, options, next, pulse);
    // Every moving file has its row, whatever the folder became since the plan read it.
    while (next < plan.items.size()) {
        rows.push_back(maker.moved(next));
        if (rows.size() % kRowsPerBeat == 0)
            beat(pulse);
    }
    beat(pulse);

    const std::size_t folderUnits = utf16Length(plan.folder);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        NewNameRow& row = rows[r];
        if (!row.marks.has(NameMark::LeftOut)) {
            for (const std::string& name : row.newNames)
                row.marks |= travelMarks(name, folderUnits);
            if (table.firstNumber.empty())
                table.firstNumber = row.number;
            table.lastNumber = row.number;
        }
        if (r % kRowsPerBeat == 0)
            beat(pulse);
    }
    markSidecars(table, names, options.nameKey, pulse);
    // The narrowest number of the base outside the run: a series of 99
    // files and 100 more no longer sort by name.
    for (const std::string& name : maker.staying()) {
        const auto number = seriesNumber(name, base, options.nameKey);
        if (number && number->digits < table.lastNumber.size()
            && (table.narrowerDigits == 0 || number->digits < table.narrowerDigits))
            table.narrowerDigits = number->digits;
    }
    table.markedRows = static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const NewNameRow& row) { return row.marks.any(); }));
    return table;
}

namespace {

// A check sum of the first bytes of a file.
bool headDigest(FileSystem& fs, const std::string& path, std::uint64_t& digest)
{
    std::unique_ptr<ReadableFile> file;
    std::string head;
    if (fs.openFile(path, file) != FsError::None || file->readAt(0, kHeadBytes, head) != FsError::None)
        return false;
    digest = fnv1a(head);
    return true;
}

bool sameBytes(FileSystem& fs, const std::string& a, const std::string& b, const Pulse& pulse)
{
    std::unique_ptr<ReadableFile> first;
    std::unique_ptr<ReadableFile> second;
    if (fs.openFile(a, first) != FsError::None || fs.openFile(b, second) != FsError::None
        || first->size() != second->size())
        return false;
    std::string one;
    std::string two;
    for (std::uint64_t offset = 0; offset < first->size(); offset += kReadChunk) {
        if (first->readAt(offset, kReadChunk, one) != FsError::None
            || second->readAt(offset, kReadChunk, two) != FsError::None || one != two)
            return false;
        beat(pulse);
    }
    return true;
}

} // namespace

void markSameContent(NewNameTable& table, const std::string& folder, FileSystem& fs, const Pulse& pulse)
{
    struct File {
        std::size_t row;
        const std::string* name;
        std::uint64_t digest = 0;
    };
    std::unordered_map<std::int64_t, std::vector<File>> bySize;
    std::size_t looked = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (const std::string& name : table.rows[r].oldNames) {
            FileStatus status;
            // An empty file is a failed copy more often than a copy.
            if (fs.status(joinPath(folder, name), status) == FsError::None && status.kind == EntryKind::File
                && status.size > 0)
                bySize[status.size].push_back({r, &name});
            if (++looked % kRowsPerBeat == 0)
                beat(pulse);
        }
    }
    const auto mark = [&](const File& file, const File& other) {
        NewNameRow& row = table.rows[file.row];
        if (!row.marks.any())
            ++table.markedRows;
        row.marks |= NameMark::SameContent;
        if (row.sameAs.empty())
            row.sameAs = *other.name;
    };
    for (auto& [size, files] : bySize) {
        if (files.size() < 2)
            continue;
        std::vector<File> read;
        for (File& file : files) {
            if (headDigest(fs, joinPath(folder, *file.name), file.digest))
                read.push_back(file);
            beat(pulse);
        }
        std::stable_sort(read.begin(), read.end(), [](const File& a, const File& b) { return a.digest < b.digest; });
        for (std::size_t i = 0; i < read.size();) {
            std::size_t end = i + 1;
            while (end < read.size() && read[end].digest == read[i].digest)
                ++end;
            for (std::size_t k = i + 1; k < end; ++k) {
                if (read[k].row != read[i].row && sameBytes(fs, joinPath(folder, *read[i].name),
                                                             joinPath(folder, *read[k].name), pulse)) {
                    mark(read[k], read[i]);
                    mark(read[i], read[k]);
                }
            }
            i = end;
        }
    }
}

} // namespace zanto
