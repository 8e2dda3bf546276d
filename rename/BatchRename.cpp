#include "BatchRename.h"

#include "rename/AsciiCase.h"

#include "rename/FileNameParts.h"
#include "rename/PathRule.h"
#include "rename/ShotGroups.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

constexpr std::string_view kPrefixHead = "連番";
constexpr std::string_view kPrefixTail = "変換失敗";
constexpr int kPrefixChoices = 50;
// Draws among the 50 short prefixes before switching to long ones.
constexpr int kShortDraws = 64;
constexpr double kLongChoices = 1e9;
constexpr const char* kPlainProbe = "zanto~probe.tmp";
constexpr std::size_t kMostProbes = 16;

std::string tempPrefix(unsigned long long number)
{
    return std::string(kPrefixHead) + std::to_string(number) + std::string(kPrefixTail);
}

std::size_t digitCount(std::size_t value)
{
    std::size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

std::string zeroFilled(std::size_t value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

// The width of 「自動」: as many digits as the largest number has, so that a
// run starting at 8 or 95 keeps name order, and never fewer than the count
// has (a run from 0 to 9 is written 00 to 09, as it always was).
std::size_t automaticWidth(std::size_t count, const Numbering& numbering)
{
    return std::max(digitCount(count), digitCount(numbering.start + count - 1));
}

// The number of the `position`-th of `count`, as the names write it.
std::string numberText(std::size_t position, std::size_t count, const Numbering& numbering)
{
    return zeroFilled(numbering.start + position,
                      numbering.minDigits != 0 ? numbering.minDigits : automaticWidth(count, numbering));
}

// The number `name` writes after `base` when it is base + one to nine digits
// + an extension or none, and its digits; both compared as given.
std::optional<SeriesEnd> numberAfter(std::string_view name, std::string_view base)
{
    if (!name.starts_with(base))
        return std::nullopt;
    const std::string_view rest = name.substr(base.size());
    const std::size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    if (digits == 0 || digits > 9 || (digits < rest.size() && rest[digits] != '.'))
        return std::nullopt;
    return SeriesEnd{std::stoul(std::string(rest.substr(0, digits))), digits, std::string(base)};
}

std::string keyed(const NameKey& key, const std::string& name)
{
    return key ? key(name) : name;
}

// Whether the file the run reads `entry` from can be opened: one that
// cannot leaves the run at its check.
bool canOpen(const std::string& folder, const std::string& entry, FileSystem& fs)
{
    return fs.canOpenForReading(joinPath(folder, entry));
}

// The names a temporary name may not take, narrowed to those that could be
// one: every temporary name starts with the prefix head.
class TakenNames {
public:
    TakenNames(const std::vector<BatchItem>& items, std::size_t width)
        : m_items(items), m_width(width)
    {
    }

    void add(std::string_view name)
    {
        if (name.starts_with(kPrefixHead))
            m_suspects.push_back(name);
    }

    // True when no temporary name made with `prefix` is taken: prefix, the
    // zero-filled position, the entry's extension.
    bool allowsPrefix(const std::string& prefix) const
    {
        return std::none_of(m_suspects.begin(), m_suspects.end(),
                            [&](std::string_view name) { return isTemporaryName(name, prefix); });
    }

private:
    bool isTemporaryName(std::string_view name, const std::string& prefix) const
    {
        if (!name.starts_with(prefix) || name.size() < prefix.size() + m_width)
            return false;
        const std::string_view digits = name.substr(prefix.size(), m_width);
        std::size_t position = 0;
        for (const char ch : digits) {
            if (ch < '0' || ch > '9')
                return false;
            position = position * 10 + static_cast<std::size_t>(ch - '0');
        }
        return position < m_items.size()
            && equalIgnoringAsciiCase(name.substr(prefix.size() + m_width),
                                      extensionViewOf(m_items[position].original));
    }

    const std::vector<BatchItem>& m_items; // each with the extension its temporary name takes
    std::size_t m_width;
    std::vector<std::string_view> m_suspects;
};

// The positions of a folder's names, found by name: an open-addressed table
// of 32-bit positions, a fifth of a node-based map's memory at 100,000 names.
class ListingIndex {
public:
    explicit ListingIndex(const std::vector<std::string>& names)
        : m_names(names)
        , m_slots(std::bit_ceil(2 * names.size() + 2), kEmpty)
    {
        for (std::uint32_t i = 0; i < names.size(); ++i) {
            std::size_t slot = slotOf(names[i]);
            while (m_slots[slot] != kEmpty)
                slot = (slot + 1) & mask();
            m_slots[slot] = i;
        }
    }

    std::optional<std::size_t> find(std::string_view name) const
    {
        for (std::size_t slot = slotOf(name); m_slots[slot] != kEmpty; slot = (slot + 1) & mask()) {
            if (m_names[m_slots[slot]] == name)
                return m_slots[slot];
        }
        return std::nullopt;
    }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    std::size_t mask() const { return m_slots.size() - 1; }
    std::size_t slotOf(std::string_view name) const { return std::hash<std::string_view>{}(name) & mask(); }

    const std::vector<std::string>& m_names;
    std::vector<std::uint32_t> m_slots;
};

unsigned long long drawNumber(const RandomSource& random, double choices)
{
    const double r = std::clamp(random(), 0.0, 1.0);
    const auto number = static_cast<unsigned long long>(r * choices) + 1;
    return std::min(number, static_cast<unsigned long long>(choices));
}

// A short prefix ("連番17変換失敗") as the program always used; when a bounded
// number of draws all meet taken names, a long number, counted upwards from a
// random start. Each taken name blocks at most one prefix, so the count ends.
std::string choosePrefix(const TakenNames& taken, const RandomSource& random)
{
    for (int draw = 0; draw < kShortDraws; ++draw) {
        std::string prefix = tempPrefix(drawNumber(random, kPrefixChoices));
        if (taken.allowsPrefix(prefix))
            return prefix;
    }
    for (unsigned long long number = kPrefixChoices + drawNumber(random, kLongChoices);; ++number) {
        std::string prefix = tempPrefix(number);
        if (taken.allowsPrefix(prefix))
            return prefix;
    }
}

// A file gone or a name taken concerns that file only; anything else (refused
// access, read-only folder, full disk) would fail for the others too.
bool concernsOneFile(FsError error)
{
    return error == FsError::FileNotFound || error == FsError::FileExists;
}

// A name of the run's shape and length that no planned name has: the last
// ASCII character before the extension (or else the last character) made
// "~", so that the characters a driver may refuse stay in it.
std::string probeNameFor(const std::string& name)
{
    const std::size_t stem = name.size() - extensionOf(name).size();
    std::size_t at = std::string::npos;
    for (std::size_t i = 0; i < (stem != 0 ? stem : name.size()); ++i) {
        if (static_cast<unsigned char>(name[i]) < 0x80)
            at = i;
    }
    std::size_t length = 1;
    if (at == std::string::npos) {
        // Every character beyond ASCII: the last one, all its bytes.
        at = stem != 0 ? stem : name.size();
        while (at > 0 && (static_cast<unsigned char>(name[--at]) & 0xC0) == 0x80) {
        }
        length = (stem != 0 ? stem : name.size()) - at;
    }
    return name.substr(0, at) + '~' + name.substr(at + length);
}

// One step of a run: every entry in the step's source state moves on to its
// target, in list order or, putting a run back, last first. `onFailure` is
// asked what a failed move means and returns false to stop the step.
class StepMover {
public:
    StepMover(const BatchPlan& plan, BatchReport& report, FileSystem& fs) : m_plan(plan), m_report(report), m_fs(fs) {}

    enum class Failure { GoOn, Stop };
    using FailurePolicy = std::function<Failure(std::size_t position, FsError error)>;
    // Told each position as the step passes it, and whether its entry was to move.
    using Passed = std::function<void(std::size_t position, bool moving)>;

    // False when a failure stopped the step.
    bool run(MoveStep step, bool lastFirst, const FailurePolicy& onFailure, const Passed& passed = {})
    {
        const std::size_t count = m_plan.items.size();
        const EntryState from = sourceOf(step);
        const EntryState to = targetOf(step);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = lastFirst ? count - 1 - k : k;
            if (m_report.state(i) != from) {
                if (passed)
                    passed(i, false);
                continue;
            }
            const BatchItem& item = m_plan.items[i];
            const std::string& source = BatchReport::currentName(item, from);
            const std::string& target = BatchReport::currentName(item, to);
            bool lost = false;
            const FsError error = move(i, source, target, lost);
            if (error == FsError::None) {
                m_report.setState(i, to);
            } else if (lost) {
                // A file system that loses files is given no more of them.
                onFailure(i, error);
                return false;
            } else if (onFailure(i, error) == Failure::Stop) {
                return false;
            }
            if (passed)
                passed(i, true);
        }
        return true;
    }

private:
    FsError move(std::size_t i, const std::string& source, const std::string& target, bool& lost)
    {
        const std::string from = joinPath(m_plan.folder, source);
        const std::string to = joinPath(m_plan.folder, target);
        const FsError error = m_fs.renameNoReplace(from, to);
        // A refusal to replace moves nothing.
        if (error == FsError::None || error == FsError::FileNotFound || error == FsError::FileExists
            || m_fs.existsUncached(from))
            return error;
        // The failed rename took the file along. Where the target was free
        // and now holds something, the rename was done after all.
        if (m_fs.existsUncached(to))
            return FsError::None;
        m_report.setState(i, EntryState::Missing);
        m_report.setLost({i, source, target});
        lost = true;
        return error;
    }

    const BatchPlan& m_plan;
    BatchReport& m_report;
    FileSystem& m_fs;
};

// After a stop: new names back to temporary ones first, so that a file whose
// old name another file has taken meanwhile (a swap) can get it back. A
// failure leaves its file where it is; a step that cannot be recorded is not
// taken.
void rollBack(const BatchPlan& plan, FileSystem& fs, BatchReport& report, const BatchProgress& progress,
              StepLog* log)
{
    StepMover mover(plan, report, fs);
    const auto goOn = [&](std::size_t i, FsError error) {
        if (error == FsError::FileNotFound)
            report.setState(i, EntryState::Missing);
        return StepMover::Failure::GoOn;
    };
    const auto& states = report.states();
    if (std::find(states.begin(), states.end(), EntryState::Final) != states.end()) {
        if (log != nullptr && !log->beginStep(MoveStep::BackToTemporary, states))
            return;
        mover.run(MoveStep::BackToTemporary, true, goOn);
    }
    auto remaining = static_cast<std::size_t>(std::count(states.begin(), states.end(), EntryState::Temporary));
    if (log != nullptr && !log->beginStep(MoveStep::BackToOriginal, states))
        return;
    mover.run(MoveStep::BackToOriginal, true, goOn, [&](std::size_t, bool moving) {
        if (progress && moving)
            progress(BatchPhase::Restoring, --remaining);
    });
}


bool folderGone(const BatchPlan& plan, FileSystem& fs)
{
    if (!plan.folderStamp)
        return false;
    const auto now = fs.stamp(plan.folder);
    return !now || !now->sameFolderAs(*plan.folderStamp);
}

// What a failed move says of the whole folder: None where it concerns its
// own file (gone, a name taken, a name refused, a file locked), else the
// cause that every other move would meet too.
FsError folderWideCause(const BatchPlan& plan, FileSystem& fs, FsError error)
{
    switch (error) {
    case FsError::DiskFull:
    case FsError::DeviceUnavailable:
    case FsError::DiskNotReady:
    case FsError::PathNotFound:
        return error;
    case FsError::FileNotFound:
        return folderGone(plan, fs) ? FsError::PathNotFound : FsError::None;
    case FsError::PathFileAccess: // a write-protected card, or one locked file?
        return fs.probeName(plan.folder, kPlainProbe) != FsError::None ? error : FsError::None;
    default:
        return FsError::None;
    }
}

} // namespace

CheckResult checkPass(const std::string& folder, std::vector<std::string>& entries, FileSystem& fs,
                      const DropQuestion& askDrop, const CheckProgress& progress)
{
    // Dropped entries are removed in one sweep, also on Cancel.
    std::vector<bool> dropped(entries.size(), false);
    auto sweep = [&] {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (dropped[i])
                continue;
            if (kept != i)
                entries[kept] = std::move(entries[i]);
            ++kept;
        }
        entries.resize(kept);
    };
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (!canOpen(folder, entries[i], fs)) {
            if (!askDrop(entries[i])) {
                sweep();
                return CheckResult::Cancelled;
            }
            dropped[i] = true;
        }
        if (progress)
            progress(i);
    }
    sweep();
    return CheckResult::Done;
}

RandomSource clockSeededRandom()
{
    std::random_device device;
    const auto clock = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937_64 engine(clock ^ (static_cast<std::uint64_t>(device()) << 32 | device()));
    return [engine, uniform = std::uniform_real_distribution<double>(0.0, 1.0)]() mutable { return uniform(engine); };
}

std::string finalName(const std::string& base, std::size_t position, std::size_t count, const std::string& entry,
                      const Numbering& numbering)
{
    return base + numberText(position, count, numbering) + extensionOf(entry);
}

std::optional<SeriesEnd> seriesNumber(const std::string& name, const std::string& base, const NameKey& key)
{
    auto number = numberAfter(keyed(key, name), keyed(key, base));
    if (number)
        number->base = base;
    return number;
}

std::optional<SeriesEnd> seriesEnd(const std::vector<std::string>& names, const std::string& base,
                                   const NameKey& key)
{
    const std::string keyedBase = keyed(key, base);
    std::optional<SeriesEnd> end;
    for (const std::string& name : names) {
        const auto number = numberAfter(keyed(key, name), keyedBase);
        if (number && (!end || number->last > end->last || (number->last == end->last && number->digits > end->digits)))
            end = SeriesEnd{number->last, number->digits, base};
    }
    return end;
}

namespace {

// Each file of the run with its new name: one number per entry, or per shot.
// Continuing a series leaves the series as it is: an entry (a shot's head)
// already named base + a number keeps its name and takes no number.
std::vector<BatchItem> numberedItems(const std::vector<std::string>& entries, const std::string& base,
                                     const std::vector<std::string>* names, const BatchOptions& options,
                                     std::vector<std::size_t>* shotOf, const Pulse& pulse = {})
{
    const Numbering& numbering = options.numbering;
    const bool continuing = numbering.series && keyed(options.nameKey, *numbering.series) == keyed(options.nameKey, base);
    const std::string keyedBase = keyed(options.nameKey, base);
    const auto numbered = [&](const std::string& head) {
        return !continuing || !numberAfter(keyed(options.nameKey, head), keyedBase);
    };
    const bool byShot = options.shots && names != nullptr;
    // Without shots each entry stands alone; no shot is made for it, since
    // at a whole folder those would outweigh the plan itself.
    const std::vector<Shot> shots =
        byShot ? groupShots(entries, *names, options.nameKey, pulse, options.links.get()) : std::vector<Shot>{};
    const std::size_t shotCount = byShot ? shots.size() : entries.size();
    const auto headOf = [&](std::size_t k) -> const std::string& { return byShot ? shots[k].entry : entries[k]; };
    std::vector<bool> takesNumber(shotCount);
    std::size_t count = 0;
    for (std::size_t k = 0; k < shotCount; ++k)
        count += (takesNumber[k] = numbered(headOf(k))) ? 1 : 0;
    std::vector<BatchItem> items;
    items.reserve(entries.size());
    if (shotOf != nullptr)
        shotOf->reserve(entries.size());
    std::size_t position = 0;
    const auto add = [&](const std::string& member, std::string final, std::size_t k) {
        items.push_back({member, {}, std::move(final)});
        if (shotOf != nullptr)
            shotOf->push_back(k);
    };
    for (std::size_t k = 0; k < shotCount; ++k) {
        if (!takesNumber[k])
            continue;
        const std::string number = numberText(position++, count, numbering);
        if (!byShot) {
            add(entries[k], base + number + extensionOf(entries[k]), k);
            continue;
        }
        for (const std::string& member : shots[k].members)
            add(member, base + number + shotTail(shots[k], member), k);
    }
    return items;
}

// The folder's names and stamps, read once for a plan.
constexpr std::size_t kListingSlack = 64;

struct FolderListing {
    std::vector<std::string> names;
    std::vector<FileStamp> stamps;
    FsError error = FsError::None;
};

// The plan of `items` over a folder already read.
BatchPlan planListedMoves(const std::string& folder, std::vector<BatchItem> items, FileSystem& fs,
                          const RandomSource& random, FolderListing listing, const Pulse& pulse);

// What the names held outside the run do to it. `clashing`: the positions of
// the items whose new name a file outside the run holds, byte for byte or by
// nameKeyOf. `left`, by shot: the shots left out whole; with shots, every
// shot with a clashing item, without them an entry held by nameKeyOf alone
// (one held byte for byte ends under its temporary name). A file left out
// keeps its name, so that name is held for the rest of the run too, and an
// item that wanted it clashes in turn.
struct Clashes {
    std::vector<std::size_t> clashing;
    std::vector<bool> left;
};

Clashes settleClashes(const std::vector<BatchItem>& items, const std::vector<std::size_t>& shotOf,
                      const std::vector<std::string>& names, const BatchOptions& options)
{
    const NameKey& key = options.nameKey;
    // Held at first: the names of files outside the run, which are few.
    std::unordered_set<std::string> held;
    {
        std::unordered_set<std::string_view> moving;
        moving.reserve(items.size());
        for (const BatchItem& item : items)
            moving.insert(item.original);
        for (const std::string& name : names) {
            if (moving.count(name) == 0)
                held.insert(name);
        }
    }
    std::unordered_set<std::string> heldKeys;
    for (const std::string& name : held)
        heldKeys.insert(nameKeyOf(key, name));
    const std::size_t shots = shotOf.empty() ? 0 : *std::max_element(shotOf.begin(), shotOf.end()) + 1;
    Clashes clashes{{}, std::vector<bool>(shots, false)};
    // Made when a first shot is left out, which a run of 100,000 files
    // rarely has: the items by the key of their new names, and each shot's.
    std::unordered_map<std::string, std::vector<std::size_t>> byFinalKey;
    std::vector<std::vector<std::size_t>> members;
    const auto index = [&] {
        if (!members.empty())
            return;
        members.resize(shots);
        for (std::size_t i = 0; i < items.size(); ++i) {
            byFinalKey[nameKeyOf(key, items[i].final)].push_back(i);
            members[shotOf[i]].push_back(i);
        }
    };
    std::vector<bool> clashing(items.size(), false);
    std::vector<std::size_t> waiting;
    const auto look = [&](std::size_t i) {
        const bool exact = held.count(items[i].final) != 0;
        if (!exact && heldKeys.count(nameKeyOf(key, items[i].final)) == 0)
            return;
        clashing[i] = true;
        const std::size_t shot = shotOf[i];
        if (clashes.left[shot] || (!options.shots && exact))
            return;
        clashes.left[shot] = true;
        index();
        for (const std::size_t member : members[shot]) {
            const std::string memberKey = nameKeyOf(key, items[member].original);
            held.insert(items[member].original);
            heldKeys.insert(memberKey);
            if (const auto wanting = byFinalKey.find(memberKey); wanting != byFinalKey.end())
                waiting.insert(waiting.end(), wanting->second.begin(), wanting->second.end());
        }
    };
    for (std::size_t i = 0; i < items.size(); ++i)
        look(i);
    while (!waiting.empty()) {
        const std::size_t i = waiting.back();
        waiting.pop_back();
        if (!clashes.left[shotOf[i]]) // a shot left out keeps its own names
            look(i);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (clashing[i])
            clashes.clashing.push_back(i);
    }
    return clashes;
}

} // namespace

BatchPlan planBatch(const std::string& folder, const std::vector<std::string>& entries, const std::string& base,
                    FileSystem& fs, const RandomSource& random, const BatchOptions& options, const Pulse& pulse)
{
    // One reading of the folder serves the shots, the clashes, the stamps and the temporary names.
    FolderListing listing;
    // Room for the usual folder, whose list is all of it, without the
    // doubling's spare third.
    listing.names.reserve(entries.size() + kListingSlack);
    listing.stamps.reserve(entries.size() + kListingSlack);
    listing.error = fs.listStamped(folder, listing.names, listing.stamps);
    beat(pulse);
    const bool listed = listing.error == FsError::None;
    std::vector<std::size_t> shotOf;
    std::vector<BatchItem> items =
        numberedItems(entries, base, listed && options.shots ? &listing.names : nullptr, options, &shotOf, pulse);
    beat(pulse);
    if (!listed)
        return planListedMoves(folder, std::move(items), fs, random, std::move(listing), pulse);
    const Clashes settled = settleClashes(items, shotOf, listing.names, options);
    beat(pulse);
    std::vector<NameClash> clashes;
    for (const std::size_t i : settled.clashing)
        clashes.push_back({items[i].original, items[i].final});
    // A shot moves whole or not at all. The items that move close up in
    // place: a second array of them would cost 10 MB at 100,000 files.
    const bool leaving = options.shots || options.nameKey;
    std::vector<std::string> leftOut;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!leaving || !settled.left[shotOf[i]]) {
            if (kept != i)
                items[kept] = std::move(items[i]);
            ++kept;
        } else if (i == 0 || shotOf[i - 1] != shotOf[i]) {
            leftOut.push_back(std::move(items[i].original));
        }
    }
    items.resize(kept);
    BatchPlan plan = planListedMoves(folder, std::move(items), fs, random, std::move(listing), pulse);
    plan.leftOut = std::move(leftOut);
    plan.clashes = std::move(clashes);
    return plan;
}

std::vector<BatchItem> batchItems(const std::vector<std::string>& entries, const std::string& base,
                                  const std::vector<std::string>& names, const BatchOptions& options,
                                  std::vector<std::size_t>* shotOf)
{
    return numberedItems(entries, base, &names, options, shotOf);
}

BatchPlan planMoves(const std::string& folder, std::vector<BatchItem> items, FileSystem& fs,
                    const RandomSource& random)
{
    FolderListing listing;
    listing.error = fs.listStamped(folder, listing.names, listing.stamps);
    return planListedMoves(folder, std::move(items), fs, random, std::move(listing), {});
}

namespace {

BatchPlan planListedMoves(const std::string& folder, std::vector<BatchItem> items, FileSystem& fs,
                          const RandomSource& random, FolderListing listing, const Pulse& pulse)
{
    BatchPlan plan;
    plan.folder = folder;
    plan.items = std::move(items);
    const std::size_t count = plan.items.size();
    const std::size_t width = digitCount(count);

    const std::vector<std::string>& present = listing.names;
    const std::vector<FileStamp>& presentStamps = listing.stamps;
    plan.listError = listing.error;
    if (plan.listError != FsError::None) {
        plan.status = PlanStatus::FolderUnreadable;
        return plan;
    }
    plan.folderStamp = fs.stamp(folder);
    if (!presentStamps.empty()) {
        const ListingIndex byName(present);
        plan.stamps.reserve(count);
        for (const auto& item : plan.items) {
            const auto found = byName.find(item.original);
            plan.stamps.push_back(found ? presentStamps[*found] : FileStamp{});
        }
    }
    beat(pulse);
    {
        TakenNames taken(plan.items, width);
        for (const auto& name : present)
            taken.add(name);
        for (const auto& item : plan.items) {
            taken.add(item.original);
            taken.add(item.final);
        }
        plan.prefix = choosePrefix(taken, random);
    }
    // The listing is done with before the temporary names take their room.
    listing = {};

    for (std::size_t i = 0; i < count; ++i)
        plan.items[i].temporary = plan.prefix + zeroFilled(i, width) + extensionOf(plan.items[i].original);
    beat(pulse);

    const std::size_t limit = fs.maxNameLength(folder);
    for (const auto& item : plan.items) {
        for (const std::string* name : {&item.final, &item.temporary}) {
            if (name->size() > limit) {
                plan.status = PlanStatus::NameTooLong;
                plan.tooLongName = *name;
                return plan;
            }
        }
    }
    // Before any file moves, the folder shows that it takes names like the
    // run's: a driver that cannot write one (fusefat refuses names beyond
    // ASCII) may drop the file whose rename to it fails.
    // One item for each extension, which the temporary and the new name share.
    std::unordered_set<std::string_view> probed;
    for (std::size_t i = 0; i < count && probed.size() < kMostProbes; ++i) {
        if (!probed.insert(extensionViewOf(plan.items[i].original)).second)
            continue;
        const BatchItem& item = plan.items[i];
        for (const std::string* name : {&item.temporary, &item.final}) {
            const FsError error = fs.probeName(folder, probeNameFor(*name));
            if (error != FsError::None) {
                plan.status = PlanStatus::NameUnwritable;
                plan.unwritableName = *name;
                // Where a plain name is taken, what is refused is the name itself.
                plan.listError = fs.probeName(folder, kPlainProbe) == FsError::None ? FsError::Other : error;
                return plan;
            }
        }
    }
    return plan;
}

} // namespace

BatchReport applyBatch(const BatchPlan& plan, FileSystem& fs, const BatchProgress& progress, StepLog* log)
{
    const std::size_t count = plan.items.size();
    BatchReport report(count);
    if (plan.status != PlanStatus::Ready) {
        report.stop(plan.status == PlanStatus::NameTooLong ? FsError::Other : plan.listError, 0);
        return report;
    }

    // A file gone or a name taken leaves that file where it is; anything else
    // stops the run, and the files already moved go back to their old names.
    const auto onFailure = [&](std::size_t i, FsError error) {
        if (error == FsError::FileNotFound && folderGone(plan, fs)) {
            // The files left stand where they are, in whichever folder: nothing
            // can be moved back through a path that no longer leads there.
            report.stop(FsError::PathNotFound, i);
            return StepMover::Failure::Stop;
        }
        if (error == FsError::FileNotFound)
            report.setState(i, EntryState::Missing);
        if (concernsOneFile(error) && !report.lost())
            return StepMover::Failure::GoOn;
        report.stop(error, i);
        rollBack(plan, fs, report, progress, log);
        return StepMover::Failure::Stop;
    };

    StepMover mover(plan, report, fs);
    if (!mover.run(MoveStep::ToTemporary, false, onFailure, [&](std::size_t i, bool) {
            if (progress)
                progress(BatchPhase::ToTemporary, i);
        }))
        return report;
    // The first step needs no record of its own: the plan is its record.
    if (log != nullptr && !log->beginStep(MoveStep::ToFinal, report.states())) {
        report.stop(FsError::Other, count);
        rollBack(plan, fs, report, progress, log);
        return report;
    }
    mover.run(MoveStep::ToFinal, false, onFailure, [&](std::size_t i, bool) {
        if (progress)
            progress(BatchPhase::ToFinal, count - i - 1);
    });
    return report;
}

bool moveEntries(const BatchPlan& plan, MoveStep step, BatchReport& report, FileSystem& fs, StepLog* log)
{
    const auto& states = report.states();
    if (std::find(states.begin(), states.end(), sourceOf(step)) == states.end())
        return true;
    if (log != nullptr && !log->beginStep(step, states))
        return false;
    StepMover(plan, report, fs).run(step, false, [&](std::size_t, FsError error) {
        if (report.blockedBy() == FsError::None)
            report.noteBlocked(folderWideCause(plan, fs, error));
        return StepMover::Failure::GoOn;
    });
    return true;
}

} // namespace zanto
