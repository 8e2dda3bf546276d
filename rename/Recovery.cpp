#include "Recovery.h"

#include "rename/PathRule.h"

namespace zanto {

namespace {

bool holds(FileSystem& fs, const std::string& folder, const std::string& name, const FileStamp& stamp)
{
    const auto found = fs.stamp(joinPath(folder, name));
    return found && found->sameFileAs(stamp);
}

// The temporary name first: it belongs to the run alone.
EntryState locate(const Journal& journal, std::size_t i, FileSystem& fs)
{
    const BatchItem& item = journal.items[i];
    const std::string& folder = journal.folder;
    if (holds(fs, folder, item.temporary, journal.stamps[i]))
        return EntryState::Temporary;
    if (holds(fs, folder, item.original, journal.stamps[i]))
        return EntryState::Original;
    if (holds(fs, folder, item.final, journal.stamps[i]))
        return EntryState::Final;
    return EntryState::Missing;
}

} // namespace

bool journalFolderPresent(const Journal& journal, FileSystem& fs)
{
    const auto now = fs.stamp(journal.folder);
    return now && journal.folderStamp && now->sameFolderAs(*journal.folderStamp);
}

std::vector<std::string> recoverBatch(const Journal& journal, RecoveryDirection direction, FileSystem& fs)
{
    const auto& items = journal.items;
    std::vector<EntryState> where(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        where[i] = locate(journal, i, fs);
    const auto move = [&](std::size_t i, EntryState from, EntryState to) {
        const std::string& source = BatchReport::currentName(items[i], from);
        const std::string& target = BatchReport::currentName(items[i], to);
        if (fs.renameNoReplace(joinPath(journal.folder, source), joinPath(journal.folder, target))
            == FsError::None)
            where[i] = to;
    };

    const bool back = direction == RecoveryDirection::Back;
    const EntryState start = back ? EntryState::Final : EntryState::Original;
    const EntryState goal = back ? EntryState::Original : EntryState::Final;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (where[i] == start)
            move(i, start, EntryState::Temporary);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (where[i] == EntryState::Temporary)
            move(i, EntryState::Temporary, goal);
    }

    std::vector<std::string> stuck;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (where[i] != goal)
            stuck.push_back(BatchReport::currentName(items[i], where[i]));
    }
    return stuck;
}

BatchPlan planUndo(const Journal& record, FileSystem& fs, std::vector<std::string>& leftAlone,
                   const RandomSource& random)
{
    std::vector<BatchItem> moves;
    for (std::size_t i = 0; i < record.items.size(); ++i) {
        const BatchItem& item = record.items[i];
        if (holds(fs, record.folder, item.final, record.stamps[i]))
            moves.push_back({item.final, {}, item.original});
        else
            leftAlone.push_back(item.final);
    }
    return planMoves(record.folder, std::move(moves), fs, random);
}

} // namespace zanto
