#include "BatchJournal.h"

#include "rename/PathRule.h"

#include <algorithm>

namespace zanto {

namespace {

constexpr const char* kUnderWay = "journal";
constexpr const char* kRecord = "last-batch";
constexpr const char* kDamaged = "journal.damaged";

} // namespace

bool BatchJournal::begin(const BatchPlan& plan)
{
    if (plan.stamps.size() == plan.items.size())
        return m_files.write(kUnderWay, encodeJournal(plan));
    // The listing gave no stamps (inode numbers that do not last): each file
    // is asked. A file gone already gets an empty stamp, which no file matches.
    Journal journal = plan;
    journal.stamps.clear();
    for (const BatchItem& item : plan.items)
        journal.stamps.push_back(m_fs.stamp(joinPath(plan.folder, item.original)).value_or(FileStamp{}));
    return m_files.write(kUnderWay, encodeJournal(journal));
}

void BatchJournal::end(const BatchPlan& plan, const BatchReport& report, bool keepRecord)
{
    if (report.stopped() && !report.unrestored().empty())
        return;
    // The renames reach the disk before the journal says they are done.
    m_files.syncFolder(plan.folder);
    const auto& states = report.states();
    if (keepRecord && std::find(states.begin(), states.end(), EntryState::Final) != states.end())
        m_files.move(kUnderWay, kRecord);
    else
        m_files.remove(kUnderWay);
}

BatchJournal::Pending BatchJournal::pending(Journal& journal)
{
    const auto bytes = m_files.read(kUnderWay);
    if (!bytes)
        return Pending::None;
    auto decoded = decodeJournal(*bytes);
    if (!decoded)
        return Pending::Damaged;
    journal = std::move(*decoded);
    return Pending::Unfinished;
}

std::string BatchJournal::setAside()
{
    m_files.move(kUnderWay, kDamaged);
    return m_files.pathOf(kDamaged);
}

void BatchJournal::closeRecovered(bool forward)
{
    if (forward)
        m_files.move(kUnderWay, kRecord);
    else
        m_files.remove(kUnderWay);
}

std::optional<Journal> BatchJournal::lastRecord()
{
    const auto bytes = m_files.read(kRecord);
    return bytes ? decodeJournal(*bytes) : std::nullopt;
}

void BatchJournal::clearRecord()
{
    m_files.remove(kRecord);
}

bool BatchJournal::hasRecord()
{
    return m_files.read(kRecord).has_value();
}

} // namespace zanto
