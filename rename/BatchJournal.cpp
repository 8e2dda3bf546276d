#include "BatchJournal.h"

#include "rename/PathRule.h"

#include <algorithm>
#include <unordered_map>

namespace zanto {

namespace {

constexpr const char* kRunPrefix = "journal-";
constexpr const char* kRecord = "last-batch";
constexpr const char* kDamagedPrefix = "damaged-";

} // namespace

JournalRun::JournalRun(BatchJournal& owner, std::unique_ptr<OpenJournal> file, Journal journal)
    : m_owner(owner)
    , m_file(std::move(file))
    , m_journal(std::move(journal))
{
}

bool JournalRun::beginStep(MoveStep step, const std::vector<EntryState>& states)
{
    if (!m_owner.m_files.syncFolder(m_journal.plan.folder) || !m_file->append(encodeStep(step, states)))
        return false;
    m_journal.lastStep = JournalStep{step, states};
    m_journal.ended.reset();
    return true;
}

bool JournalRun::finish(const std::vector<EntryState>& states, bool asRecord)
{
    // The renames reach the disk before the journal says where they ended.
    if (!m_owner.m_files.syncFolder(m_journal.plan.folder) || !m_file->append(encodeEnded(states)))
        return false;
    m_journal.ended = states;
    if (m_journal.kind == JournalKind::Undo && !m_owner.settleUndo(m_journal, states))
        return false;
    return asRecord ? m_owner.m_files.move(name(), kRecord) : m_owner.m_files.remove(name());
}

std::string BatchJournal::folder() const
{
    std::string path = m_files.pathOf({});
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::unique_ptr<JournalRun> BatchJournal::begin(const BatchPlan& plan, JournalKind kind)
{
    Journal journal{kind, plan, std::nullopt, std::nullopt, false};
    if (plan.stamps.size() != plan.items.size()) {
        // The listing gave no stamps (inode numbers that do not last): each file
        // is asked. A file gone already gets an empty stamp, which no file matches.
        journal.plan.stamps.clear();
        for (const BatchItem& item : plan.items)
            journal.plan.stamps.push_back(m_fs.stamp(joinPath(plan.folder, item.original)).value_or(FileStamp{}));
    }
    auto file = m_files.create(kRunPrefix, encodeJournal(journal));
    if (!file)
        return nullptr;
    return std::make_unique<JournalRun>(*this, std::move(file), std::move(journal));
}

std::vector<BatchJournal::Pending> BatchJournal::pending()
{
    std::vector<Pending> found;
    for (const std::string& name : m_files.names(kRunPrefix)) {
        JournalFiles::Opened opened = m_files.open(name);
        if (opened.busy)
            continue; // a running copy's run
        auto journal = opened.file ? decodeJournal(opened.bytes) : std::nullopt;
        if (!journal) {
            found.push_back({name, nullptr});
            continue;
        }
        // A step appended after a torn line must start on a line of its own.
        if (!opened.bytes.empty() && opened.bytes.back() != '\n' && !opened.file->append("\n")) {
            found.push_back({name, nullptr});
            continue;
        }
        found.push_back({name, std::make_unique<JournalRun>(*this, std::move(opened.file), std::move(*journal))});
    }
    return found;
}

std::string BatchJournal::setAside(const std::string& name)
{
    const std::string aside = kDamagedPrefix + name;
    return m_files.move(name, aside) ? m_files.pathOf(aside) : m_files.pathOf(name);
}

std::optional<Journal> BatchJournal::lastRecord()
{
    const auto bytes = m_files.read(kRecord);
    auto record = bytes ? decodeJournal(*bytes) : std::nullopt;
    if (record && record->kind != JournalKind::Batch)
        return std::nullopt;
    return record;
}

bool BatchJournal::replaceRecord(const Journal& record)
{
    std::string bytes = encodeJournal(record);
    if (record.ended)
        bytes += encodeEnded(*record.ended);
    return m_files.write(kRecord, bytes);
}

bool BatchJournal::clearRecord()
{
    return !m_files.read(kRecord) || m_files.remove(kRecord);
}

bool BatchJournal::hasRecord()
{
    return lastRecord().has_value();
}

bool BatchJournal::settleUndo(const Journal& undo, const std::vector<EntryState>& states)
{
    auto record = lastRecord();
    if (!record)
        return true;
    auto& items = record->plan.items;
    std::vector<EntryState> ended = record->ended.value_or(std::vector<EntryState>(items.size(), EntryState::Final));
    std::unordered_map<std::string_view, std::size_t> byOriginal;
    for (std::size_t i = 0; i < items.size(); ++i)
        byOriginal.emplace(items[i].original, i);
    std::vector<bool> leaves(items.size(), false);
    for (std::size_t k = 0; k < undo.plan.items.size(); ++k) {
        const auto found = byOriginal.find(undo.plan.items[k].final);
        if (found == byOriginal.end())
            continue;
        const std::size_t i = found->second;
        switch (states[k]) {
        case EntryState::Final:   // back under its original name
        case EntryState::Missing: // named in the undo's notice
            leaves[i] = true;
            break;
        case EntryState::Temporary: // under the undo's temporary name
            items[i].temporary = undo.plan.items[k].temporary;
            ended[i] = EntryState::Temporary;
            break;
        case EntryState::Original: // where the batch left it
            break;
        }
    }
    Journal kept = *record;
    kept.plan.items.clear();
    kept.plan.stamps.clear();
    kept.ended.emplace();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (leaves[i])
            continue;
        kept.plan.items.push_back(std::move(items[i]));
        kept.plan.stamps.push_back(record->plan.stamps[i]);
        kept.ended->push_back(ended[i]);
    }
    return kept.plan.items.empty() ? clearRecord() : replaceRecord(kept);
}

} // namespace zanto
