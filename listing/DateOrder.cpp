#include "listing/DateOrder.h"

#include "listing/CaptureTime.h"
#include "listing/FrameCounter.h"
#include "listing/LivePhotoLinks.h"
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
#include <unordered_set>
#include <utility>

namespace zanto {

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

struct FileMoment {
    std::optional<CaptureMoment> moment; // none: not even a modification time
    bool taken = false;                  // from what the file holds, not its modification time
    CameraId camera;
};

FileMoment readMoment(const std::string& path, FileSystem& fs)
{
    std::unique_ptr<ReadableFile> file;
    CameraId camera;
    if (fs.openFile(path, file) == FsError::None && file) {
        Capture capture = CaptureTime::facts(*file);
        if (capture.moment)
            return {std::move(capture.moment), true, std::move(capture.camera)};
        camera = std::move(capture.camera);
    }
    const auto stamp = fs.stamp(path);
    if (!stamp)
        return {{}, false, std::move(camera)};
    std::int64_t seconds = stamp->modifiedNs / kNsPerSecond, part = stamp->modifiedNs % kNsPerSecond;
    if (part < 0) // before 1970: the fraction counts forward from a whole second
        part += kNsPerSecond, --seconds;
    return {CaptureMoment::fromUtc(seconds, static_cast<std::int32_t>(part)), false, std::move(camera)};
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
std::optional<std::pair<Instant, CaptureMoment>> shotMoment(const std::vector<std::string>& members,
                                                            const Moments& moments, std::optional<int> assumed)
{
    Trust best = Trust::None;
    std::optional<std::pair<Instant, CaptureMoment>> earliest;
    for (const std::string& member : members) {
        const auto found = moments.find(member);
        if (found == moments.end() || trustOf(found->second) == Trust::None)
            continue;
        const CaptureMoment& moment = *found->second.moment;
        const Instant at{moment.utcSeconds(assumed), moment.nanoseconds()};
        const Trust trust = trustOf(found->second);
        if (trust < best || (trust == best && at < earliest->first))
            best = trust, earliest.emplace(at, moment);
    }
    return earliest;
}

// The camera a shot's files name first, else the form of its first name.
TripCamera cameraOfShot(const std::vector<std::string>& members, const Moments& moments)
{
    for (const std::string& member : members) {
        const auto found = moments.find(member);
        if (found != moments.end() && found->second.camera.known())
            return {found->second.camera, {}};
    }
    const std::string& name = members.front();
    const auto counter = FrameCounter::of(name);
    const std::string prefix = counter ? counter->family.substr(0, counter->family.rfind('/')) : std::string();
    return {{}, prefix + '*' + extensionOf(name)};
}

} // namespace

struct DateOrder::Shot {
    std::vector<std::string> members; // the listed ones, in natural order
    std::optional<Instant> at;        // before any offset; none sorts first
    std::optional<CaptureMoment> moment;
    std::optional<FrameCounter> counter;
    TripCamera camera;
    std::unordered_map<std::string, CaptureMoment> taken; // the members' own moments
};

DateOrder::DateOrder(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs, const Step& step)
{
    // The folder's other files join the shots they belong with, but stay
    // out of the list; of them only a clip's XML is read, for its zoned time
    // (the RAW beside a listed JPEG would only cost a read).
    std::vector<std::string> inFolder;
    const bool wholeFolder = fs.listNames(folder, inFolder) == FsError::None;
    const ShotLinks links = LivePhotoLinks::read(folder, wholeFolder ? inFolder : names, fs, step);
    std::vector<zanto::Shot> grouped = groupShots(names, wholeFolder ? inFolder : names, {}, {}, &links);
    const std::unordered_set<std::string> listed(names.begin(), names.end());
    Moments moments;
    moments.reserve(names.size());
    for (const zanto::Shot& shot : grouped) {
        for (const std::string& member : shot.members) {
            if (listed.count(member) == 0 && asciiFolded(extensionViewOf(member)) != ".xml")
                continue;
            moments.emplace(member, readMoment(joinPath(folder, member), fs));
            if (step)
                step();
        }
    }
    const std::optional<int> assumed = commonOffset(moments);
    m_shots.reserve(grouped.size());
    for (zanto::Shot& group : grouped) {
        Shot shot;
        std::sort(group.members.begin(), group.members.end(), naturalLess);
        if (const auto chosen = shotMoment(group.members, moments, assumed))
            shot.at = chosen->first, shot.moment = chosen->second;
        shot.camera = cameraOfShot(group.members, moments);
        for (std::string& member : group.members) {
            if (listed.count(member) == 0)
                continue;
            if (const FileMoment& own = moments.at(member); own.taken)
                shot.taken.emplace(member, *own.moment);
            m_shotOf.emplace(member, m_shots.size());
            shot.members.push_back(std::move(member));
        }
        shot.counter = FrameCounter::of(shot.members.front());
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
        std::optional<FrameCounter> counter;
        const std::string* first;
        std::size_t shot;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(m_shots.size());
    for (std::size_t k = 0; k < m_shots.size(); ++k) {
        const Shot& shot = m_shots[k];
        std::optional<Instant> at = shot.at;
        if (at)
            at->seconds += shiftOf(shot, offsets);
        keyed.push_back({at, shot.counter, &shot.members.front(), k});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.at < b.at; });
    // Shots of one instant: by the camera's frame counter, a counter that
    // wrapped going on past its wrap, then by name.
    for (auto run = keyed.begin(); run != keyed.end();) {
        const auto next = std::find_if(run, keyed.end(), [&](const Keyed& shot) { return shot.at != run->at; });
        std::vector<FrameCounter*> counters;
        for (auto shot = run; shot != next; ++shot) {
            if (shot->counter)
                counters.push_back(&*shot->counter);
        }
        FrameCounter::continueWraps(counters);
        std::sort(run, next, [](const Keyed& a, const Keyed& b) {
            const std::string& familyA = a.counter ? a.counter->family : std::string();
            const std::string& familyB = b.counter ? b.counter->family : std::string();
            if (familyA != familyB)
                return naturalLess(familyA, familyB);
            if (a.counter && a.counter->number != b.counter->number)
                return a.counter->number < b.counter->number;
            return naturalLess(*a.first, *b.first);
        });
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
    names.reserve(m_shotOf.size());
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

std::optional<TripCamera> DateOrder::cameraOf(const std::string& name) const
{
    const auto found = m_shotOf.find(name);
    return found == m_shotOf.end() ? std::nullopt : std::optional<TripCamera>(m_shots[found->second].camera);
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
    const auto found = m_shotOf.find(name);
    if (found == m_shotOf.end())
        return std::nullopt;
    const Shot& shot = m_shots[found->second];
    const auto taken = shot.taken.find(name);
    if (taken == shot.taken.end())
        return std::nullopt;
    return taken->second.shifted(shiftOf(shot, offsets));
}

std::optional<std::int64_t> DateOrder::offsetToMatch(const std::string& name, const std::string& other,
                                                     const ClockOffsets& offsets) const
{
    const auto mine = m_shotOf.find(name), theirs = m_shotOf.find(other);
    if (mine == m_shotOf.end() || theirs == m_shotOf.end())
        return std::nullopt;
    const Shot& shot = m_shots[mine->second];
    const Shot& reference = m_shots[theirs->second];
    if (!shot.at || !reference.at)
        return std::nullopt;
    return reference.at->seconds + shiftOf(reference, offsets) - shot.at->seconds;
}

} // namespace zanto
