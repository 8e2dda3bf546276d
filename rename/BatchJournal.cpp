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
    std::vector<std::string> originals;
    originals.reserve(plan.items.size());
    for (const BatchItem& item : plan.items)
        originals.push_back(item.original);
    const Journal journal{plan, m_fs.stamps(plan.folder, originals)};
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
