#include "listing/DateOrder.h"

#include "listing/CaptureTime.h"
#include "listing/FrameCounter.h"
#include "listing/NaturalOrder.h"
#include "rename/AsciiCase.h"
#include "rename/FileNameParts.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ReadableFile.h"
#include "rename/ShotGroups.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace zanto {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

struct FileMoment {
    std::optional<CaptureMoment> moment; // none: not even a modification time
    bool taken = false;                  // from what the file holds, not its modification time
    CameraId camera;
    std::string contentId;
};

FileMoment readMoment(const std::string& path, FileSystem& fs)
{
    std::unique_ptr<ReadableFile> file;
    Capture capture;
    if (fs.openFile(path, file) == FsError::None && file) {
        capture = CaptureTime::facts(*file);
        if (capture.moment)
            return {std::move(capture.moment), true, std::move(capture.camera), std::move(capture.contentId)};
    }
    FileMoment modified{{}, false, std::move(capture.camera), std::move(capture.contentId)};
    const auto stamp = fs.stamp(path);
    if (!stamp)
        return modified;
    std::int64_t seconds = stamp->modifiedNs / kNsPerSecond, part = stamp->modifiedNs % kNsPerSecond;
    if (part < 0) // before 1970: the fraction counts forward from a whole second
        part += kNsPerSecond, --seconds;
    modified.moment = CaptureMoment::fromUtc(seconds, static_cast<std::int32_t>(part));
    return modified;
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

// The offset in which a clock that records none is read: the trip's, else
// the machine's at that time, asked once for each hour of clock time.
class AssumedOffset {
public:
    explicit AssumedOffset(std::optional<int> trip) : m_trip(trip) {}

    int of(const CaptureMoment& moment)
    {
        if (m_trip)
            return *m_trip;
        constexpr std::int64_t kSecondsPerHour = 3600;
        std::int64_t hour = moment.clockSeconds() / kSecondsPerHour;
        if (moment.clockSeconds() % kSecondsPerHour < 0)
            --hour;
        const auto [found, fresh] = m_machine.try_emplace(hour, 0);
        if (fresh)
            found->second = CaptureMoment::machineOffsetMinutes(moment.clockSeconds());
        return found->second;
    }

private:
    std::optional<int> m_trip;
    std::unordered_map<std::int64_t, int> m_machine;
};

// A shot's moment: the earliest of its most trusted files.
// The files read of a shot's members, each where it was read (unlisted files are not).
using ShotFiles = std::vector<const FileMoment*>;

std::optional<std::pair<Instant, CaptureMoment>> shotMoment(const ShotFiles& files, AssumedOffset& assumed)
{
    Trust best = Trust::None;
    std::optional<std::pair<Instant, CaptureMoment>> earliest;
    for (const FileMoment* file : files) {
        if (file == nullptr || trustOf(*file) == Trust::None)
            continue;
        const CaptureMoment& moment = *file->moment;
        const Instant at{moment.utcSeconds(assumed.of(moment)), moment.nanoseconds()};
        const Trust trust = trustOf(*file);
        if (trust < best || (trust == best && at < earliest->first))
            best = trust, earliest.emplace(at, moment);
    }
    return earliest;
}

// The camera a shot's files name first, else the form of the name `first`
// whose frame counter is `counter`.
TripCamera cameraOfShot(const ShotFiles& files, const std::string& first, const std::optional<FrameCounter>& counter)
{
    for (const FileMoment* file : files) {
        if (file != nullptr && file->camera.known())
            return {file->camera, {}};
    }
    const std::string prefix = counter ? counter->family.substr(0, counter->family.rfind('/')) : std::string();
    return {{}, prefix + '*' + extensionOf(first)};
}

} // namespace

struct DateOrder::Shot {
    std::vector<std::string> members; // the listed ones, in natural order
    std::optional<Instant> at;        // before any offset; none sorts first
    std::optional<CaptureMoment> moment;
    std::optional<FrameCounter> counter;
    TripCamera camera;
    std::vector<std::optional<CaptureMoment>> taken; // each member's own moment, if any
};

DateOrder::DateOrder(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs, const Step& step)
{
    std::vector<std::string> inFolder;
    const bool wholeFolder = fs.listNames(folder, inFolder) == FsError::None;
    const std::vector<std::string>& all = wholeFolder ? inFolder : names;
    const std::unordered_set<std::string_view> listed(names.begin(), names.end());
    Moments moments;
    moments.reserve(names.size());
    const auto read = [&](const std::string& name) -> const FileMoment& {
        const FileMoment& file = moments.emplace(name, readMoment(joinPath(folder, name), fs)).first->second;
        if (step)
            step();
        return file;
    };
    for (const std::string& name : names)
        read(name);
    // A Live Photo's still and clip by their identifier: read from the
    // stills and clips that nothing goes with by name.
    ShotLinks links;
    for (const std::string& name : linkCandidates(all)) {
        const auto found = moments.find(name);
        const std::string& identifier = (found != moments.end() ? found->second : read(name)).contentId;
        if (!identifier.empty())
            links.emplace(name, identifier);
    }
    // The folder's other files join the shots they belong with, but stay
    // out of the list; of them only a clip's XML is read, for its zoned time
    // (the RAW beside a listed JPEG would only cost a read).
    std::vector<zanto::Shot> grouped = groupShots(names, all, {}, {}, &links);
    for (const zanto::Shot& shot : grouped) {
        for (const std::string& member : shot.members) {
            if (equalIgnoringAsciiCase(extensionViewOf(member), ".xml") && moments.count(member) == 0)
                read(member);
        }
    }
    AssumedOffset assumed(commonOffset(moments));
    m_shots.reserve(grouped.size());
    m_listed = names.size();
    for (zanto::Shot& group : grouped) {
        Shot shot;
        std::sort(group.members.begin(), group.members.end(), naturalLess);
        ShotFiles files;
        files.reserve(group.members.size());
        for (const std::string& member : group.members) {
            const auto found = moments.find(member);
            files.push_back(found == moments.end() ? nullptr : &found->second);
        }
        if (const auto chosen = shotMoment(files, assumed))
            shot.at = chosen->first, shot.moment = chosen->second;
        // Every shot is headed by a listed name.
        const std::string& first = *std::find_if(group.members.begin(), group.members.end(),
                                                 [&](const std::string& member) { return listed.count(member) != 0; });
        shot.counter = FrameCounter::of(first);
        shot.camera = cameraOfShot(files, first, shot.counter);
        for (std::size_t i = 0; i < group.members.size(); ++i) {
            std::string& member = group.members[i];
            if (listed.count(member) == 0)
                continue;
            shot.taken.push_back(files[i]->taken ? files[i]->moment : std::nullopt);
            shot.members.push_back(std::move(member));
        }
        m_shots.push_back(std::move(shot));
    }
}

DateOrder::~DateOrder() = default;
DateOrder::DateOrder(DateOrder&&) noexcept = default;
DateOrder& DateOrder::operator=(DateOrder&&) noexcept = default;

void DateOrder::sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs, const Step& step,
                     const ClockOffsets& offsets)
{
    names = DateOrder(folder, names, fs, step).ordered(offsets);
}

std::int64_t DateOrder::shiftOf(const Shot& shot, const ClockOffsets& offsets) const
{
    const auto found = offsets.find(shot.camera);
    return found == offsets.end() ? 0 : found->second;
}

std::vector<std::size_t> DateOrder::shotsInOrder(const ClockOffsets& offsets) const
{
    struct Keyed {
        std::optional<Instant> at;
        std::size_t shot;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(m_shots.size());
    for (std::size_t k = 0; k < m_shots.size(); ++k) {
        std::optional<Instant> at = m_shots[k].at;
        if (at)
            at->seconds += shiftOf(m_shots[k], offsets);
        keyed.push_back({at, k});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.at < b.at; });
    // Shots of one instant: by the camera's frame counter, a counter that
    // wrapped going on past its wrap, then by name.
    for (auto run = keyed.begin(); run != keyed.end();) {
        const auto next = std::find_if(run, keyed.end(), [&](const Keyed& shot) { return shot.at != run->at; });
        if (next - run > 1) {
            std::vector<std::pair<std::optional<FrameCounter>, std::size_t>> tied;
            std::vector<FrameCounter*> counters;
            for (auto shot = run; shot != next; ++shot)
                tied.emplace_back(m_shots[shot->shot].counter, shot->shot);
            for (auto& [counter, shot] : tied) {
                if (counter)
                    counters.push_back(&*counter);
            }
            FrameCounter::continueWraps(counters);
            std::sort(tied.begin(), tied.end(), [&](const auto& a, const auto& b) {
                const std::string& familyA = a.first ? a.first->family : std::string();
                const std::string& familyB = b.first ? b.first->family : std::string();
                if (familyA != familyB)
                    return naturalLess(familyA, familyB);
                if (a.first && a.first->number != b.first->number)
                    return a.first->number < b.first->number;
                return naturalLess(m_shots[a.second].members.front(), m_shots[b.second].members.front());
            });
            for (auto shot = run; shot != next; ++shot)
                shot->shot = tied[static_cast<std::size_t>(shot - run)].second;
        }
        run = next;
    }
    std::vector<std::size_t> order;
    order.reserve(keyed.size());
    for (const Keyed& shot : keyed)
        order.push_back(shot.shot);
    return order;
}

std::vector<std::string> DateOrder::ordered(const ClockOffsets& offsets) const
{
    std::vector<std::string> names;
    names.reserve(m_listed);
    for (const std::size_t k : shotsInOrder(offsets))
        names.insert(names.end(), m_shots[k].members.begin(), m_shots[k].members.end());
    return names;
}

std::vector<CameraClock> DateOrder::cameras(const ClockOffsets& offsets) const
{
    std::vector<CameraClock> clocks;
    std::map<TripCamera, std::size_t> rowOf;
    for (const std::size_t k : shotsInOrder(offsets)) {
        const Shot& shot = m_shots[k];
        const auto [row, fresh] = rowOf.try_emplace(shot.camera, clocks.size());
        if (fresh)
            clocks.push_back({shot.camera, 0, {}, {}});
        CameraClock& clock = clocks[row->second];
        clock.files += shot.members.size();
        if (shot.moment) {
            const CaptureMoment moment = shot.moment->shifted(shiftOf(shot, offsets));
            if (!clock.first)
                clock.first = moment;
            clock.last = moment;
        }
    }
    return clocks;
}

const std::unordered_map<std::string_view, std::size_t>& DateOrder::shotOf() const
{
    if (m_shotOf.empty()) {
        m_shotOf.reserve(m_listed);
        for (std::size_t k = 0; k < m_shots.size(); ++k) {
            for (const std::string& member : m_shots[k].members)
                m_shotOf.emplace(member, k);
        }
    }
    return m_shotOf;
}

std::optional<TripCamera> DateOrder::cameraOf(const std::string& name) const
{
    const auto found = shotOf().find(name);
    return found == shotOf().end() ? std::nullopt : std::optional<TripCamera>(m_shots[found->second].camera);
}

std::vector<std::string> DateOrder::namesOf(const TripCamera& camera, const ClockOffsets& offsets) const
{
    std::vector<std::string> names;
    for (const std::size_t k : shotsInOrder(offsets)) {
        if (m_shots[k].camera == camera)
            names.insert(names.end(), m_shots[k].members.begin(), m_shots[k].members.end());
    }
    return names;
}

std::optional<CaptureMoment> DateOrder::momentOf(const std::string& name, const ClockOffsets& offsets) const
{
    const auto found = shotOf().find(name);
    if (found == shotOf().end())
        return std::nullopt;
    const Shot& shot = m_shots[found->second];
    const auto member = std::find(shot.members.begin(), shot.members.end(), name) - shot.members.begin();
    const std::optional<CaptureMoment>& taken = shot.taken[static_cast<std::size_t>(member)];
    if (!taken)
        return std::nullopt;
    return taken->shifted(shiftOf(shot, offsets));
}

std::optional<std::int64_t> DateOrder::offsetToMatch(const std::string& name, const std::string& other,
                                                     const ClockOffsets& offsets) const
{
    const auto mine = shotOf().find(name), theirs = shotOf().find(other);
    if (mine == shotOf().end() || theirs == shotOf().end())
        return std::nullopt;
    const Shot& shot = m_shots[mine->second];
    const Shot& reference = m_shots[theirs->second];
    if (!shot.at || !reference.at)
        return std::nullopt;
    return reference.at->seconds + shiftOf(reference, offsets) - shot.at->seconds;
}

} // namespace zanto
