#include "listing/DateOrder.h"

#include "listing/CaptureTime.h"
#include "listing/FrameCounter.h"
#include "listing/NaturalOrder.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ReadableFile.h"
#include "rename/ShotGroups.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

struct FileMoment {
    std::optional<CaptureMoment> moment; // none: not even a modification time
    bool taken = false;                  // from what the file holds, not its modification time
};

FileMoment momentOf(const std::string& path, FileSystem& fs)
{
    std::unique_ptr<ReadableFile> file;
    if (fs.openFile(path, file) == FsError::None && file) {
        if (auto moment = CaptureTime::of(*file))
            return {std::move(moment), true};
    }
    const auto stamp = fs.stamp(path);
    if (!stamp)
        return {};
    std::int64_t seconds = stamp->modifiedNs / kNsPerSecond, part = stamp->modifiedNs % kNsPerSecond;
    if (part < 0) // before 1970: the fraction counts forward from a whole second
        part += kNsPerSecond, --seconds;
    return {CaptureMoment::fromUtc(seconds, static_cast<std::int32_t>(part)), false};
}

using Moments = std::unordered_map<std::string, FileMoment>;

// The offset that most of the files recording one give: the trip's zone,
// in which the clocks that do not say theirs are read. None when no file
// records one: then the machine's zone.
std::optional<int> commonOffset(const Moments& moments)
{
    std::map<int, std::size_t> votes;
    for (const auto& [name, file] : moments) {
        if (file.moment && file.moment->zone() == CaptureMoment::Zone::Recorded)
            ++votes[*file.moment->offsetMinutes()];
    }
    const auto most = std::max_element(votes.begin(), votes.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == votes.end() ? std::nullopt : std::optional<int>(most->first);
}

struct Instant {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    auto operator<=>(const Instant&) const = default;
};

// How far a file's moment is trusted: a clock that says its zone, any
// other clock, and last the modification time, which says when a sidecar
// was edited, not when its picture was taken.
enum class Trust { Zoned, Taken, Modified, None };

Trust trustOf(const FileMoment& file)
{
    if (!file.moment)
        return Trust::None;
    if (!file.taken)
        return Trust::Modified;
    return file.moment->zone() == CaptureMoment::Zone::Recorded ? Trust::Zoned : Trust::Taken;
}

// A shot's moment: the earliest of its most trusted files.
std::optional<Instant> shotInstant(const std::vector<std::string>& members, const Moments& moments,
                                   std::optional<int> assumed)
{
    Trust best = Trust::None;
    std::optional<Instant> earliest;
    for (const std::string& member : members) {
        const auto found = moments.find(member);
        if (found == moments.end() || trustOf(found->second) == Trust::None)
            continue;
        const CaptureMoment& moment = *found->second.moment;
        const Instant at{moment.utcSeconds(assumed), moment.nanoseconds()};
        const Trust trust = trustOf(found->second);
        if (trust < best || (trust == best && at < *earliest))
            best = trust, earliest = at;
    }
    return earliest;
}

struct Keyed {
    std::optional<Instant> at; // none sorts first
    std::optional<FrameCounter> counter;
    std::vector<std::string> members;
};

// Shots of one moment: by the camera's frame counter, a counter that wrapped
// going on past its wrap, then by name.
void orderTies(std::vector<Keyed>::iterator begin, std::vector<Keyed>::iterator end)
{
    std::vector<FrameCounter*> counters;
    for (auto shot = begin; shot != end; ++shot) {
        if (shot->counter)
            counters.push_back(&*shot->counter);
    }
    FrameCounter::continueWraps(counters);
    std::sort(begin, end, [](const Keyed& a, const Keyed& b) {
        const std::string& familyA = a.counter ? a.counter->family : std::string();
        const std::string& familyB = b.counter ? b.counter->family : std::string();
        if (familyA != familyB)
            return naturalLess(familyA, familyB);
        if (a.counter && a.counter->number != b.counter->number)
            return a.counter->number < b.counter->number;
        return naturalLess(a.members.front(), b.members.front());
    });
}

} // namespace

void DateOrder::sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs, const Step& step)
{
    // The folder's other files join the shots they belong with (a Sony
    // clip's XML, which holds its zoned time), and are read, but not listed.
    std::vector<std::string> inFolder;
    const bool wholeFolder = fs.listNames(folder, inFolder) == FsError::None;
    std::vector<Shot> grouped = wholeFolder ? groupShots(names, inFolder) : groupShots(names, names);
    const std::unordered_set<std::string> listed(names.begin(), names.end());
    Moments moments;
    moments.reserve(names.size());
    for (const Shot& shot : grouped) {
        for (const std::string& member : shot.members) {
            moments.emplace(member, momentOf(joinPath(folder, member), fs));
            if (step)
                step();
        }
    }
    const std::optional<int> assumed = commonOffset(moments);
    std::vector<Keyed> shots;
    shots.reserve(grouped.size());
    for (Shot& shot : grouped) {
        const std::optional<Instant> at = shotInstant(shot.members, moments, assumed);
        std::vector<std::string> members;
        for (std::string& member : shot.members) {
            if (listed.count(member) != 0)
                members.push_back(std::move(member));
        }
        std::sort(members.begin(), members.end(), naturalLess);
        shots.push_back({at, FrameCounter::of(members.front()), std::move(members)});
    }
    std::sort(shots.begin(), shots.end(), [](const Keyed& a, const Keyed& b) { return a.at < b.at; });
    for (auto run = shots.begin(); run != shots.end();) {
        const auto next = std::find_if(run, shots.end(), [&](const Keyed& shot) { return shot.at != run->at; });
        orderTies(run, next);
        run = next;
    }
    names.clear();
    for (Keyed& shot : shots)
        names.insert(names.end(), std::make_move_iterator(shot.members.begin()), std::make_move_iterator(shot.members.end()));
}

} // namespace zanto
