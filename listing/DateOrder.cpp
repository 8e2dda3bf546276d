#include "listing/DateOrder.h"

#include "listing/CaptureTime.h"
#include "listing/MomentKey.h"
#include "listing/NaturalOrder.h"
#include "rename/FileSystem.h"
#include "rename/PathRule.h"
#include "rename/ReadableFile.h"
#include "rename/ShotGroups.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace zanto {

namespace {

struct FileMoment {
    std::string key;       // empty: none at all
    bool taken = false;    // from what the file holds, not its modification time
};

FileMoment momentOf(const std::string& path, FileSystem& fs)
{
    std::unique_ptr<ReadableFile> file;
    if (fs.openFile(path, file) == FsError::None && file) {
        if (auto moment = CaptureTime::of(*file))
            return {std::move(*moment), true};
    }
    const auto stamp = fs.stamp(path);
    return {stamp ? MomentKey::fromUtc(stamp->modifiedNs) : std::string(), false};
}

// A shot's moment: the earliest its files were taken; only when none of
// them holds one (a folder of videos from an old camera, say), the earliest
// modification time. A sidecar's own time says when it was edited, not taken.
std::string shotMoment(const std::vector<std::string>& members,
                       const std::unordered_map<std::string, FileMoment>& moments)
{
    std::optional<std::string> taken, modified;
    for (const std::string& member : members) {
        const FileMoment& moment = moments.at(member);
        auto& earliest = moment.taken ? taken : modified;
        if (!earliest || moment.key < *earliest)
            earliest = moment.key;
    }
    return taken ? *taken : modified.value_or(std::string());
}

} // namespace

void DateOrder::sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs, const Step& step)
{
    std::unordered_map<std::string, FileMoment> moments;
    moments.reserve(names.size());
    for (const std::string& name : names) {
        moments.emplace(name, momentOf(joinPath(folder, name), fs));
        if (step)
            step();
    }
    struct Keyed {
        std::string moment;
        std::vector<std::string> members;
    };
    std::vector<Shot> grouped = groupShots(names, names);
    std::vector<Keyed> shots;
    shots.reserve(grouped.size());
    for (Shot& shot : grouped) {
        std::sort(shot.members.begin(), shot.members.end(), naturalLess);
        shots.push_back({shotMoment(shot.members, moments), std::move(shot.members)});
    }
    std::sort(shots.begin(), shots.end(), [](const Keyed& a, const Keyed& b) {
        return a.moment != b.moment ? a.moment < b.moment : naturalLess(a.members.front(), b.members.front());
    });
    names.clear();
    for (Keyed& shot : shots)
        names.insert(names.end(), std::make_move_iterator(shot.members.begin()), std::make_move_iterator(shot.members.end()));
}

} // namespace zanto
