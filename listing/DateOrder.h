#pragma once

#include "listing/TripCamera.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zanto {

class FileSystem;
struct FrameCounter;

// The order of a trip's pictures and videos from several cameras and
// phones, by the instant each was taken (CaptureTime): a clock that records
// its offset is read in it, one that does not in the offset most of the
// list's files record (else the machine's zone), and each camera's clock is
// put right by the offset given to it. A file without a moment counts by its
// modification time. The files of one shot (a RAW, its JPEG, their sidecars:
// the rule of ShotGroups) stay together at the shot's moment: the earliest
// of the files whose clock says its zone, else of those that hold a moment,
// else of their modification times. Shots of one instant go by the camera's
// frame counter, one that wrapped (9999, 0001) going on past its wrap, then
// by name.
class DateOrder {
public:
    // Called after each file read; a long sort keeps the window alive there.
    using Step = std::function<void()>;

    // Reads the files `names` of `folder` and the files that go with them.
    DateOrder(const std::string& folder, const std::vector<std::string>& names, FileSystem& fs, const Step& step = {});
    ~DateOrder();
    DateOrder(DateOrder&&) noexcept;
    DateOrder& operator=(DateOrder&&) noexcept;

    // Sorts `names`, bare names of files in `folder`.
    static void sort(const std::string& folder, std::vector<std::string>& names, FileSystem& fs,
                     const Step& step = {}, const ClockOffsets& offsets = {});

    // The names read, in the order taken.
    std::vector<std::string> ordered(const ClockOffsets& offsets = {}) const;
    // The cameras, in the order of their first files.
    std::vector<CameraClock> cameras(const ClockOffsets& offsets = {}) const;
    // The camera that took a name read, and that camera's names in order.
    std::optional<TripCamera> cameraOf(const std::string& name) const;
    std::vector<std::string> namesOf(const TripCamera& camera, const ClockOffsets& offsets = {}) const;
    // A name's moment as its camera's clock, put right, read it.
    std::optional<CaptureMoment> momentOf(const std::string& name, const ClockOffsets& offsets = {}) const;
    // The offset that makes `name`'s camera show `name` at the instant that
    // `other` shows (itself put right by `offsets`); none unless both have
    // a moment.
    std::optional<std::int64_t> offsetToMatch(const std::string& name, const std::string& other,
                                              const ClockOffsets& offsets) const;

private:
    struct Shot;
    std::vector<std::size_t> shotsInOrder(const ClockOffsets& offsets) const;
    std::int64_t shiftOf(const Shot& shot, const ClockOffsets& offsets) const;

    // Each listed name's shot, made when first asked: a sort never asks.
    const std::unordered_map<std::string_view, std::size_t>& shotOf() const;

    std::vector<Shot> m_shots;
    std::size_t m_listed = 0;
    mutable std::unordered_map<std::string_view, std::size_t> m_shotOf; // into m_shots' members
};

} // namespace zanto
