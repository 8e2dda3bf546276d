#include "SingleRename.h"

#include "rename/AsciiCase.h"
#include "rename/BatchJournal.h"
#include "rename/FileNameParts.h"
#include "rename/PathRule.h"
#include "rename/ShotGroups.h"

#include <algorithm>
#include <unordered_set>

namespace zanto {

namespace {

SingleOutcome outcomeOf(FsError error)
{
    switch (error) {
    case FsError::None:
        return SingleOutcome::Done;
    case FsError::FileNotFound:
        return SingleOutcome::NotFound;
    case FsError::PathFileAccess:
        return SingleOutcome::AccessRefused;
    case FsError::FileExists:
        return SingleOutcome::NameTaken;
    case FsError::NoSafeRename:
        return SingleOutcome::NoSafeRename;
    default:
        return SingleOutcome::Other;
    }
}

// A name of the folder that nothing holds, in ASCII (some FAT drivers lose a
// file renamed to anything else), visible in the lists under its extension.
std::string freeTemporaryName(FileSystem& fs, const std::string& folder, const std::string& extension)
{
    for (unsigned number = 0;; ++number) {
        std::string name = "zanto-rename-" + std::to_string(number) + extension;
        if (!fs.exists(joinPath(folder, name)))
            return name;
    }
}

// True when `to` is taken by the file itself under another case: the same
// inode, or, where a driver numbers each spelling apart (exfat-fuse), names
// that fold alike with one entry of the folder under them, the file's own.
bool takenByItself(FileSystem& fs, const std::string& folder, const std::string& oldName,
                   const std::string& newName)
{
    if (fs.sameFile(joinPath(folder, oldName), joinPath(folder, newName)))
        return true;
    std::vector<std::string> names;
    if (!equalIgnoringAsciiCase(oldName, newName) || fs.listNames(folder, names) != FsError::None)
        return false;
    return std::count_if(names.begin(), names.end(), [&](const std::string& name) {
               return equalIgnoringAsciiCase(name, newName);
           }) == 1
        && std::find(names.begin(), names.end(), oldName) != names.end();
}

// photo.jpg -> Photo.jpg where the file system takes both for one name: away
// to a visible temporary name, then to the new one; back again when the
// second step fails. Journaled like a batch, so that a kill between the
// steps is put right at the next start.
SingleOutcome renameThroughTemporary(FileSystem& fs, const std::string& folder, const std::string& oldName,
                                     const std::string& newName, BatchJournal* journal, SingleRenameNotes* notes)
{
    BatchPlan plan;
    plan.folder = folder;
    plan.folderStamp = fs.stamp(folder);
    plan.items.push_back({oldName, freeTemporaryName(fs, folder, extensionOf(newName)), newName});
    std::unique_ptr<JournalRun> run;
    if (journal != nullptr && !(run = journal->begin(plan)))
        return SingleOutcome::Other;
    const BatchItem& item = plan.items.front();
    BatchReport report(1);
    const auto step = [&](MoveStep move) {
        if (run && move != MoveStep::ToTemporary && !run->beginStep(move, report.states()))
            return FsError::Other;
        const FsError error = fs.renameNoReplace(joinPath(folder, BatchReport::currentName(item, sourceOf(move))),
                                                 joinPath(folder, BatchReport::currentName(item, targetOf(move))));
        if (error == FsError::None)
            report.setState(0, targetOf(move));
        return error;
    };
    SingleOutcome outcome = outcomeOf(step(MoveStep::ToTemporary));
    if (outcome == SingleOutcome::Done) {
        outcome = outcomeOf(step(MoveStep::ToFinal));
        if (report.state(0) == EntryState::Temporary && step(MoveStep::BackToOriginal) != FsError::None) {
            // The journal stays for the next start, which offers to finish the rename.
            if (notes != nullptr)
                notes->stranded = item.temporary;
            return SingleOutcome::Stranded;
        }
    }
    // A journal that cannot be closed is offered at the next start, which
    // then finds the file where this rename left it.
    if (run && !run->finish(report.states(), false) && notes != nullptr)
        notes->journalLeft = run->name();
    return outcome;
}

// Another file of the folder has a name equal to `newName` by nameKeyOf but
// not byte for byte (the same name in NFD from a Mac, or in another case): the
// rename would make a second file of one name on a card or another system.
bool lookAlikeTaken(FileSystem& fs, const std::string& folder, const std::string& oldName, const std::string& newName,
                    const NameKey& key)
{
    std::vector<std::string> names;
    if (fs.listNames(folder, names) != FsError::None)
        return false;
    const std::string wanted = nameKeyOf(key, newName);
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return name != oldName && name != newName && nameKeyOf(key, name) == wanted;
    });
}

} // namespace

SingleOutcome renameSingle(FileSystem& fs, const std::string& folder, const std::string& oldName,
                           const std::string& newName, BatchJournal* journal, SingleRenameNotes* notes,
                           const NameKey& key)
{
    if (newName.empty() || newName.size() > fs.maxNameLength(folder))
        return SingleOutcome::Other;
    if (oldName == newName)
        return SingleOutcome::Done;
    if (lookAlikeTaken(fs, folder, oldName, newName, key))
        return SingleOutcome::NameTaken;
    const std::string from = joinPath(folder, oldName);
    const std::string to = joinPath(folder, newName);
    const FsError error = fs.renameNoReplace(from, to);
    if (error == FsError::FileExists && takenByItself(fs, folder, oldName, newName))
        return renameThroughTemporary(fs, folder, oldName, newName, journal, notes);
    return outcomeOf(error);
}

SingleOutcome renameShot(FileSystem& fs, const std::string& folder, const Shot& shot, const std::string& first,
                         const std::string& newStem, std::vector<std::string>& left, BatchJournal* journal,
                         SingleRenameNotes* notes, const NameKey& key)
{
    std::vector<std::string> names;
    if (shot.members.size() > 1 && fs.listNames(folder, names) == FsError::None) {
        std::unordered_set<std::string> wanted;
        for (const std::string& member : shot.members)
            wanted.insert(nameKeyOf(key, newStem + shotTail(shot, member)));
        const auto outside = [&](const std::string& name) {
            return std::find(shot.members.begin(), shot.members.end(), name) == shot.members.end();
        };
        if (std::any_of(names.begin(), names.end(),
                        [&](const std::string& name) { return outside(name) && wanted.count(nameKeyOf(key, name)) != 0; }))
            return SingleOutcome::NameTaken;
    }
    const SingleOutcome outcome =
        renameSingle(fs, folder, first, newStem + shotTail(shot, first), journal, notes, key);
    if (outcome != SingleOutcome::Done)
        return outcome;
    for (const std::string& member : shot.members) {
        if (member != first
            && renameSingle(fs, folder, member, newStem + shotTail(shot, member), journal, notes, key)
                   != SingleOutcome::Done)
            left.push_back(member);
    }
    return outcome;
}

bool sortsBefore(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

std::size_t nextSelection(const std::string& typed, const std::string& oldBase, std::size_t k, std::size_t n,
                          const std::string& entryAfterK)
{
    if (k + 1 >= n)
        return 0;
    if (sortsBefore(oldBase, typed) && sortsBefore(entryAfterK, typed))
        return k;
    return k + 1;
}

} // namespace zanto
