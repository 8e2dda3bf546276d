#pragma once

#include <string>
#include <vector>

namespace zanto {

// The files of one shot: a camera's RAW, its JPEG and their sidecars share
// the name before their extensions (IMG_0412.CR2, IMG_0412.JPG,
// IMG_0412.CR2.xmp, IMG_0412.AAE).
struct Shot {
    std::string entry;                // the listed entry that heads the shot
    std::vector<std::string> members; // every file of the shot, the entry first
};

// The shots of the rename list `entries`. A file of the folder (`names`,
// listed by the filter or not) belongs to an entry's shot when it is the
// entry's name before its extension, in any ASCII case, followed by one or
// more extensions ("." and one to five characters, no blank, each); where
// several entries' names fit, the longest wins. A listed entry whose shot an
// earlier entry already heads joins that shot. Shots keep the order of the
// entries that head them; members after the entry keep the folder's order.
std::vector<Shot> groupShots(const std::vector<std::string>& entries, const std::vector<std::string>& names);

// The entries that head a shot, in order: a later entry of a shot already
// headed (same name before the extension, in any ASCII case) is left out.
std::vector<std::string> shotHeads(const std::vector<std::string>& entries);

// The part of a member's name after the shot's common start ("IMG_0413.CR2.xmp"
// of the shot of "IMG_0413.JPG" -> ".CR2.xmp").
std::string shotTail(const Shot& shot, const std::string& member);

} // namespace zanto
