#include "BatchJournal.h"

#include "rename/PathRule.h"

#include <algorithm>
#include <unordered_map>

namespace zanto {

namespace {

constexpr const char* kRunPrefix = "journal-";
constexpr const char* kRecord = "last-batch";
constexpr const char* kDamagedPrefix = "damaged-";

// What the steps of a run and its end take at most: three steps (the second
// pass, the two halves of a rollback) and the end, each a letter per file.
std::size_t roomForSteps(std::size_t count)
{
    constexpr std::size_t kLines = 4;
    constexpr std::size_t kLineFrame = 48; // "step back-to-temporary ", the sum, the break
    return kLines * (count + kLineFrame);
}

} // namespace

JournalRun::JournalRun(BatchJournal& owner, std::unique_ptr<OpenJournal> file, JournalKind kind,
                       const BatchPlan& plan, std::vector<FileStamp> stamps)
    : m_owner(owner)
    , m_file(std::move(file))
    , m_journal{kind, {}, std::nullopt, std::nullopt, false, {}}
    , m_plan(plan)
    , m_stamps(std::move(stamps))
{
    m_journal.plan.folder = plan.folder;
}

JournalRun::JournalRun(BatchJournal& owner, std::unique_ptr<OpenJournal> file, Journal journal)
    : m_owner(owner)
    , m_file(std::move(file))
    , m_journal(std::move(journal))
    , m_plan(m_journal.plan)
{
}

bool JournalRun::append(const std::string& line)
{
    if (!m_file->append(m_tornTail ? '\n' + line : line))
        return false;
    m_tornTail = false;
    return true;
}

bool JournalRun::placedByLastStep(MoveStep step, const std::vector<EntryState>& states) const
{
    if (m_journal.ended || m_journal.stepsUnknown)
        return false;
    const JournalStep last = m_journal.lastStep.value_or(
        JournalStep{MoveStep::ToTemporary, std::vector<EntryState>(states.size(), EntryState::Original)});
    const EntryState side = namedSideOf(last.step);
    if (namedSideOf(step) != side)
        return false;
    // A file of the last step is read as under its temporary name where that
    // name exists and on the step's named side where it does not; any other
    // file as the step found it, so this step must leave it alone.
    for (std::size_t i = 0; i < states.size(); ++i) {
        const bool ofLastStep = last.states[i] == sourceOf(last.step);
        const bool readRight = states[i] == EntryState::Missing
            || (ofLastStep ? states[i] == EntryState::Temporary || states[i] == side
                           : states[i] == last.states[i] && states[i] != sourceOf(step));
        if (!readRight)
            return false;
    }
    return true;
}

bool JournalRun::beginStep(MoveStep step, const std::vector<EntryState>& states)
{
    if (!m_owner.m_files.syncFolder(m_journal.plan.folder))
        return false;
    if (!append(encodeStep(step, states)))
        return placedByLastStep(step, states);
    m_journal.lastStep = JournalStep{step, states};
    m_journal.ended.reset();
    return true;
}

bool JournalRun::finish(const std::vector<EntryState>& states, bool asRecord)
{
    // The renames reach the disk before the journal says where they ended.
    if (!m_owner.m_files.syncFolder(m_journal.plan.folder))
        return false;
    if (append(encodeEnded(states))) {
        m_journal.ended = states;
    } else if (asRecord && std::any_of(states.begin(), states.end(), [](EntryState state) {
                   return state != EntryState::Final;
               })) {
        // Only a record whose files all got their new names can do without
        // saying where each one ended; any other run's steps place its files.
        return false;
    }
    if (m_journal.kind == JournalKind::Undo && !m_owner.settleUndo(m_plan, stamps(), states))
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

std::unique_ptr<JournalRun> BatchJournal::begin(const BatchPlan& plan, JournalKind kind,
                                                const Pulse& pulse)
{
    constexpr std::size_t kStampsPerPulse = 64;
    std::vector<FileStamp> stamps;
    if (plan.stamps.size() != plan.items.size()) {
        // The listing gave no stamps (inode numbers that do not last): each file
        // is asked. A file gone already gets an empty stamp, which no file matches.
        stamps.reserve(plan.items.size());
        for (const BatchItem& item : plan.items) {
            stamps.push_back(m_fs.stamp(joinPath(plan.folder, item.original)).value_or(FileStamp{}));
            if (stamps.size() % kStampsPerPulse == 0)
                beat(pulse);
        }
    }
    JournalEncoder encoder(kind, plan, stamps.empty() ? plan.stamps : stamps);
    const JournalFiles::Pieces pieces = [&](std::string& piece) {
        beat(pulse);
        return encoder.next(piece);
    };
    auto file = m_files.create(kRunPrefix, pieces, roomForSteps(plan.items.size()));
    if (!file)
        return nullptr;
    return std::make_unique<JournalRun>(*this, std::move(file), kind, plan, std::move(stamps));
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
        // A torn last line is an append cut short: its step never began. It is
        // cut off, which takes no space on a full disk; where even that fails,
        // the next line starts on a line of its own.
        const bool torn = !opened.bytes.empty() && opened.bytes.back() != '\n';
        const bool cut = !torn || opened.file->cutTo(opened.bytes.rfind('\n') + 1);
        // Room for the recovery's steps where the disk has it; without, a
        // recovery goes on as far as its steps follow from those recorded.
        static_cast<void>(opened.file->reserve(roomForSteps(journal->plan.items.size())));
        auto run = std::make_unique<JournalRun>(*this, std::move(opened.file), std::move(*journal));
        run->m_tornTail = !cut;
        found.push_back({name, std::move(run)});
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
    if (!record || record->kind != JournalKind::Batch)
        return std::nullopt;
    // A record that does not say where its files ended holds a batch whose
    // files all got their new names; a damaged line's file is not undone.
    if (!record->ended)
        record->ended.emplace(record->plan.items.size(), EntryState::Final);
    for (const std::size_t i : record->damaged)
        (*record->ended)[i] = EntryState::Missing;
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
    const auto record = lastRecord();
    if (!record)
        return false;
    return std::any_of(record->ended->begin(), record->ended->end(), [](EntryState state) {
        return state == EntryState::Final || state == EntryState::Temporary;
    });
}

bool BatchJournal::settleUndo(const BatchPlan& undo, const std::vector<FileStamp>& undoStamps,
                              const std::vector<EntryState>& states)
{
    auto record = lastRecord();
    if (!record || record->plan.folder != undo.folder)
        return true;
    auto& items = record->plan.items;
    std::vector<EntryState>& ended = *record->ended;
    std::unordered_map<std::string_view, std::size_t> byOriginal;
    for (std::size_t i = 0; i < items.size(); ++i)
        byOriginal.emplace(items[i].original, i);
    for (std::size_t k = 0; k < undo.items.size(); ++k) {
        // An undo moves a file from where the batch left it to its original name.
        const BatchItem& move = undo.items[k];
        const auto found = byOriginal.find(move.final);
        // Of that name, only the batch's own file: a later batch in the same
        // folder may have renamed files of the same camera names.
        if (found == byOriginal.end() || !record->plan.stamps[found->second].sameFileAs(undoStamps[k]))
            continue;
        const std::size_t i = found->second;
        switch (states[k]) {
        case EntryState::Final: // back under its original name
            ended[i] = EntryState::Original;
            break;
        case EntryState::Missing: // named in the undo's notice
            ended[i] = EntryState::Missing;
            break;
        case EntryState::Temporary: // under the undo's temporary name
            items[i].temporary = move.temporary;
            ended[i] = EntryState::Temporary;
            break;
        case EntryState::Original: // where the batch left it
            if (move.original == items[i].final) {
                ended[i] = EntryState::Final;
            } else {
                items[i].temporary = move.original;
                ended[i] = EntryState::Temporary;
            }
            break;
        }
    }
    return replaceRecord(*record);
}

} // namespace zanto
