#pragma once

#include "rename/FileNameParts.h"
#include "rename/Pulse.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace zanto {

class FileSystem;

// The files of one shot: a camera's RAW, its JPEG and their sidecars share
// the name before their extensions (IMG_0412.CR2, IMG_0412.JPG,
// IMG_0412.CR2.xmp, IMG_0412.AAE).
struct Shot {
    std::string entry;                // the listed entry that heads the shot
    std::vector<std::string> members; // every file of the shot, the entry first
};

// Files that go together whatever their names, by an identifier their
// metadata shares: a Live Photo's still and clip share Apple's content
// identifier. By file name.
using ShotLinks = std::unordered_map<std::string, std::string>;

// The shots of the rename list `entries`. A file of the folder (`names`,
// listed by the filter or not) belongs to a shot when it is the name before
// the extension, or the whole name, of a listed member, in any ASCII case,
// followed by one or more extensions ("." and one to five characters, no
// blank, each), or a companion by the other rules of shotStartsOf; where
// several fit, the first start that shotStartsOf gives wins. Listed entries of one
// name before the extension share a shot too, so a sidecar listed by the
// filter still goes with its picture. A file never joins a shot where its new
// name would be another member's by `nameKeyOf` (IMG_0001.JPG, img_0001.JPG):
// a listed one heads a shot of its own, another stays out. Heads are listed
// entries other than companions (isCompanion) before companions, with the
// shortest name before the extension; shots keep the order
// of their first listed members; members after the head are the listed ones
// in list order, then the others in the folder's order.
// With `links`, a file joins the shot of its identifier before any by name,
// and never a shot of another identifier by name.
// `pulse` is called every few thousand names.
std::vector<Shot> groupShots(const std::vector<std::string>& entries, const std::vector<std::string>& names,
                             const NameKey& key = {}, const Pulse& pulse = {}, const ShotLinks* links = nullptr);

// The entries that head a shot, in order: the other listed members of a shot
// are left out.
std::vector<std::string> shotHeads(const std::vector<std::string>& entries, const NameKey& key = {},
                                   const ShotLinks* links = nullptr);

// The shot of groupShots(entries, names, key) that `name` is a member of; a
// shot of `name` alone when none is.
Shot shotOf(const std::vector<std::string>& entries, const std::vector<std::string>& names, const std::string& name,
            const NameKey& key = {}, const ShotLinks* links = nullptr);

// shotOf with the files of `folder` as they are now, the entries being the
// list `name` was chosen from; `name` alone when the folder cannot be read.
Shot shotInFolder(FileSystem& fs, const std::string& folder, const std::vector<std::string>& entries,
                  const std::string& name, const NameKey& key = {}, const ShotLinks* links = nullptr);

// The clips (MOV, MP4) of `names` whose name before the extension is a
// still's (HEIC, HEIF, JPEG) and more after a "_", "-", " " or "(", where
// that still has no clip of its own name, each after its still
// (IMG_1234.HEIC, IMG_1234_HEVC.MOV): the files whose identifiers are worth
// reading for a Live Photo's clip renamed apart.
std::vector<std::string> linkCandidates(const std::vector<std::string>& names);

// A start of a name by which it finds its shot, and what its new name keeps
// after the shot's new stem.
struct ShotStart {
    std::string start;
    std::string tail;
};

// The starts `name` finds a shot by, in the order tried: before each of its
// extensions, the longest first (IMG_0413.CR2.xmp: IMG_0413.CR2, IMG_0413);
// then the companions that cameras and phones name otherwise: an iPhone's
// edit and adjustments (IMG_E1234.HEIC, IMG_O1234.AAE: IMG_1234), a GoPro's
// low-resolution copy (GL011234.LRV: GX011234, GH011234), a Sony clip's XML
// (C0001M01.XML: C0001), Google Takeout's metadata, also cut short
// (IMG_1.JPG.supplemental-metadata.json, IMG_1.JPG.supplemen.json: IMG_1.JPG).
std::vector<ShotStart> shotStartsOf(const std::string& name);

// A file that only goes with a photo or a clip: a sidecar (.xmp, .aae,
// .json), a thumbnail (.THM), a low-resolution copy (.LRV), a Sony clip's XML.
bool isCompanion(const std::string& name);

// The part of a member's name after the shot's common start ("IMG_0413.CR2.xmp"
// of the shot of "IMG_0413.JPG" -> ".CR2.xmp"); a companion named otherwise
// keeps its tail by shotStartsOf ("IMG_E0413.HEIC" -> "_E.HEIC"); a member
// by its identifier alone, its extension.
std::string shotTail(const Shot& shot, const std::string& member);

} // namespace zanto
