#include "listing/IsoBmffTime.h"

#include "listing/BoxWalker.h"
#include "listing/ExifCapture.h"
#include "listing/FilePieces.h"
#include "listing/XmlCapture.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace zanto {

namespace {

enum class Family { Heif, Canon, Video };

// The uuid box of moov that holds Canon's metadata blocks (CMT1 to CMT4).
constexpr std::string_view kCanonUuid("\x85\xc0\xb6\x87\x82\x0f\x11\xe0\x81\x11\xf4\xce\x46\x2b\x6a\x48", 16);
constexpr std::array<std::string_view, 11> kHeifBrands{"heic", "heix", "heim", "heis", "hevc", "hevx",
                                                       "mif1", "mif2", "msf1", "avif", "avis"};
// Old QuickTime files start without ftyp.
constexpr std::array<std::string_view, 6> kBareVideoBoxes{"moov", "mdat", "wide", "free", "skip", "pnot"};

// The brands the ftyp box at the start names (major and compatible), as one string of 4-byte codes.
std::optional<std::string> brandsOf(const std::string& head)
{
    if (head.size() < 16 || head.compare(4, 4, "ftyp") != 0)
        return std::nullopt;
    const std::uint64_t size = FilePieces::be(head, 0, 4);
    if (size < 16 || size > head.size())
        return std::nullopt;
    return head.substr(8, 4) + head.substr(16, static_cast<std::size_t>(size) - 16);
}

bool hasBrand(const std::string& brands, std::string_view brand)
{
    for (std::size_t at = 0; at + 4 <= brands.size(); at += 4) {
        if (std::string_view(brands).substr(at, 4) == brand)
            return true;
    }
    return false;
}

std::optional<Family> familyOf(const std::string& head)
{
    const auto brands = brandsOf(head);
    if (!brands) {
        const std::string_view type = head.size() >= 8 ? std::string_view(head).substr(4, 4) : std::string_view();
        for (const std::string_view box : kBareVideoBoxes) {
            if (type == box)
                return Family::Video;
        }
        return std::nullopt;
    }
    if (hasBrand(*brands, "crx "))
        return Family::Canon;
    for (const std::string_view brand : kHeifBrands) {
        if (hasBrand(*brands, brand))
            return Family::Heif;
    }
    return Family::Video;
}

// Where an item's bytes lie, from the iloc box.
struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t length = 0; // 0: to the end of the file
    bool inIdat = false;      // offset counts from the idat box's content
};

// The first extent of item `wanted` in the content of an iloc box.
std::optional<Extent> extentOf(std::string_view iloc, std::uint32_t wanted)
{
    const auto version = FilePieces::be(iloc, 0, 1);
    if (iloc.size() < 8 || version > 2)
        return std::nullopt;
    const std::size_t offsetSize = FilePieces::be(iloc, 4, 1) >> 4, lengthSize = FilePieces::be(iloc, 4, 1) & 15;
    const std::size_t baseSize = FilePieces::be(iloc, 5, 1) >> 4;
    const std::size_t indexSize = version == 0 ? 0 : FilePieces::be(iloc, 5, 1) & 15;
    for (const std::size_t size : {offsetSize, lengthSize, baseSize, indexSize}) {
        if (size != 0 && size != 4 && size != 8)
            return std::nullopt;
    }
    const std::size_t idSize = version == 2 ? 4 : 2;
    std::size_t at = 6;
    const std::uint64_t count = FilePieces::be(iloc, at, idSize);
    at += idSize;
    for (std::uint64_t item = 0; item < count && at < iloc.size(); ++item) {
        const std::uint64_t id = FilePieces::be(iloc, at, idSize);
        at += idSize;
        std::uint64_t method = 0;
        if (version != 0)
            method = FilePieces::be(iloc, at, 2) & 15, at += 2;
        at += 2; // data_reference_index
        const std::uint64_t base = FilePieces::be(iloc, at, baseSize);
        at += baseSize;
        const std::uint64_t extents = FilePieces::be(iloc, at, 2);
        at += 2;
        if (id == wanted && extents > 0 && at + indexSize + offsetSize + lengthSize <= iloc.size()) {
            if (method > 1) // an item made of other items: never Exif
                return std::nullopt;
            at += indexSize;
            const std::uint64_t offset = FilePieces::be(iloc, at, offsetSize);
            return Extent{base + offset, FilePieces::be(iloc, at + offsetSize, lengthSize), method == 1};
        }
        at += extents * (indexSize + offsetSize + lengthSize);
    }
    return std::nullopt;
}

// The id of the first item of type Exif among the infe boxes of iinf.
std::optional<std::uint32_t> exifItemOf(FilePieces& pieces, const Box& iinf)
{
    const std::string_view head = pieces.read(iinf.body, 1);
    if (head.empty())
        return std::nullopt;
    BoxWalker entries(pieces, iinf.body + 4 + (head[0] == 0 ? 2 : 4), iinf.end);
    while (auto infe = entries.find("infe")) {
        const std::string_view entry = pieces.read(infe->body, 12);
        const auto version = FilePieces::be(entry, 0, 1);
        if (version < 2) // item types came with version 2
            continue;
        const std::size_t idSize = version == 2 ? 2 : 4;
        if (entry.size() >= 4 + idSize + 2 + 4 && entry.compare(4 + idSize + 2, 4, "Exif") == 0)
            return static_cast<std::uint32_t>(FilePieces::be(entry, 4, idSize));
    }
    return std::nullopt;
}

// The uuid box that holds a video's XMP packet, at the top level.
constexpr std::string_view kXmpUuid("\xbe\x7a\xcf\xcb\x97\xa9\x42\xe8\x9c\x71\x99\x94\x91\xe3\xaf\xac", 16);
constexpr std::string_view kDayBox("\xa9" "day", 4);

std::size_t boxLength(const Box& box)
{
    return static_cast<std::size_t>(std::min<std::uint64_t>(box.end - box.body, FilePieces::kMaxPiece));
}

// Where a meta box's children start: QuickTime's is a plain box, MP4's a
// full box with a version and flags first.
std::uint64_t metaChildren(FilePieces& pieces, const Box& meta)
{
    return pieces.read(meta.body + 4, 4) == "hdlr" ? meta.body : meta.body + 4;
}

// The text of a value box ("data": a type, a locale, the value).
std::string dataText(FilePieces& pieces, const Box& holder)
{
    const auto data = BoxWalker(pieces, holder.body, holder.end).find("data");
    if (!data || data->end - data->body < 8)
        return {};
    return std::string(pieces.read(data->body + 8, boxLength(*data) - 8));
}

// The text of QuickTime user data ("©day": its length, a language, the
// text), or of an iTunes-style one holding a value box.
std::string userText(FilePieces& pieces, const Box& box)
{
    if (pieces.read(box.body + 4, 4) == "data")
        return dataText(pieces, box);
    const std::string_view head = pieces.read(box.body, 4);
    const std::size_t length = static_cast<std::size_t>(FilePieces::be(head, 0, 2));
    if (head.size() < 4 || length > boxLength(box) - 4)
        return {};
    return std::string(pieces.read(box.body + 4, length));
}

// The value of an item of a meta box's list (ilst), by the item's box type.
std::string itemText(FilePieces& pieces, const Box& meta, std::string_view type)
{
    const auto ilst = BoxWalker(pieces, metaChildren(pieces, meta), meta.end).find("ilst");
    if (!ilst)
        return {};
    const auto item = BoxWalker(pieces, ilst->body, ilst->end).find(type);
    return item ? dataText(pieces, *item) : std::string();
}

// What Apple's keyed metadata says. The item of a key is the key's place
// in the keys box, counted from one, as its list item's type.
struct AppleKeys {
    std::string creation, make, model, contentId;
};

AppleKeys appleKeysOf(FilePieces& pieces, const std::optional<Box>& meta)
{
    AppleKeys found;
    if (!meta)
        return found;
    const auto keys = BoxWalker(pieces, metaChildren(pieces, *meta), meta->end).find("keys");
    if (!keys)
        return found;
    const std::pair<std::string_view, std::string*> wanted[] = {{"com.apple.quicktime.creationdate", &found.creation},
                                                                {"com.apple.quicktime.make", &found.make},
                                                                {"com.apple.quicktime.model", &found.model},
                                                                {"com.apple.quicktime.content.identifier", &found.contentId}};
    const std::string table(pieces.read(keys->body, boxLength(*keys)));
    const std::uint64_t count = FilePieces::be(table, 4, 4);
    std::size_t at = 8;
    for (std::uint32_t index = 1; index <= count && at + 8 <= table.size(); ++index) {
        const auto size = static_cast<std::size_t>(FilePieces::be(table, at, 4));
        if (size < 8 || size > table.size() - at)
            break;
        const std::string_view key = std::string_view(table).substr(at + 8, size - 8);
        for (const auto& [name, value] : wanted) {
            if (key == name) {
                const std::string type{char(index >> 24), char(index >> 16 & 0xff), char(index >> 8 & 0xff),
                                       char(index & 0xff)};
                *value = itemText(pieces, *meta, type);
            }
        }
        at += size;
    }
    return found;
}

// The movie header's creation time: UTC, as the format has it and phones
// write it; a camera that writes its local time there is put right by the
// offset given to that camera.
std::optional<CaptureMoment> headerCreation(FilePieces& pieces, const Box& mvhd)
{
    constexpr std::uint64_t kSecondsFrom1904To1970 = 2'082'844'800;
    constexpr std::uint64_t kLastSecondOf9999 = 253'402'300'799 + kSecondsFrom1904To1970;
    const std::string_view header = pieces.read(mvhd.body, 12);
    const std::uint64_t created = FilePieces::be(header, 4, FilePieces::be(header, 0, 1) == 1 ? 8 : 4);
    if (created == 0 || created > kLastSecondOf9999) // 0: never set
        return std::nullopt;
    return CaptureMoment::fromUtc(static_cast<std::int64_t>(created) - static_cast<std::int64_t>(kSecondsFrom1904To1970));
}

} // namespace

bool IsoBmffTime::recognises(const std::string& head)
{
    return familyOf(head).has_value();
}

std::optional<Capture> IsoBmffTime::capture(FilePieces& pieces)
{
    switch (familyOf(pieces.head()).value_or(Family::Video)) {
    case Family::Heif:
        return heifExif(pieces);
    case Family::Canon:
        return canonExif(pieces);
    case Family::Video:
        return video(pieces);
    }
    return std::nullopt;
}

std::optional<Capture> IsoBmffTime::heifExif(FilePieces& pieces)
{
    const auto meta = BoxWalker(pieces, 0, pieces.size()).find("meta");
    if (!meta)
        return std::nullopt;
    std::optional<Box> iinf, iloc, idat;
    BoxWalker children(pieces, meta->body + 4, meta->end); // meta is a full box: version and flags first
    while (auto box = children.next()) {
        if (box->type == "iinf")
            iinf = box;
        else if (box->type == "iloc")
            iloc = box;
        else if (box->type == "idat")
            idat = box;
    }
    if (!iinf || !iloc)
        return std::nullopt;
    const auto item = exifItemOf(pieces, *iinf);
    if (!item)
        return std::nullopt;
    auto extent = extentOf(pieces.read(iloc->body, static_cast<std::size_t>(iloc->end - iloc->body)), *item);
    if (!extent || (extent->inIdat && !idat))
        return std::nullopt;
    const std::uint64_t origin = extent->inIdat ? idat->body : 0;
    const std::uint64_t limit = extent->inIdat ? idat->end : pieces.size();
    if (extent->offset >= limit - origin)
        return std::nullopt;
    const std::uint64_t start = origin + extent->offset;
    const std::uint64_t length = extent->length == 0 || extent->length > limit - start ? limit - start
                                                                                      : extent->length;
    // The item starts with the distance from its next byte to the TIFF header.
    const std::uint64_t skip = FilePieces::be(pieces.read(start, 4), 0, 4);
    if (length < 4 || skip > length - 4)
        return std::nullopt;
    return ExifCapture::inFile(pieces, start + 4 + skip, length - 4 - skip);
}

std::optional<Capture> IsoBmffTime::canonExif(FilePieces& pieces)
{
    const auto moov = BoxWalker(pieces, 0, pieces.size()).find("moov");
    if (!moov)
        return std::nullopt;
    BoxWalker children(pieces, moov->body, moov->end);
    while (auto uuid = children.find("uuid")) {
        if (pieces.read(uuid->body, kCanonUuid.size()) != kCanonUuid)
            continue;
        // CMT1 is a TIFF structure whose first IFD names the camera, CMT2
        // one whose first IFD holds the Exif tags.
        std::optional<Box> cmt1, cmt2;
        BoxWalker blocks(pieces, uuid->body + kCanonUuid.size(), uuid->end);
        while (auto block = blocks.next()) {
            if (block->type == "CMT1")
                cmt1 = block;
            else if (block->type == "CMT2")
                cmt2 = block;
        }
        if (!cmt2)
            return std::nullopt;
        std::optional<Capture> capture = ExifCapture::inFile(pieces, cmt2->body, cmt2->end - cmt2->body);
        const std::optional<Capture> named = cmt1 ? ExifCapture::inFile(pieces, cmt1->body, cmt1->end - cmt1->body)
                                                  : std::nullopt;
        if (capture && named) {
            capture->camera.make = named->camera.make;
            capture->camera.model = named->camera.model;
        }
        return capture;
    }
    return std::nullopt;
}

std::optional<Capture> IsoBmffTime::video(FilePieces& pieces)
{
    std::optional<Box> moov, xmp;
    BoxWalker top(pieces, 0, pieces.size());
    while (auto box = top.next()) {
        if (box->type == "moov")
            moov = box;
        else if (box->type == "uuid" && pieces.read(box->body, kXmpUuid.size()) == kXmpUuid)
            xmp = Box{box->type, box->start, box->body + kXmpUuid.size(), box->end};
    }
    if (!moov)
        return std::nullopt;
    std::optional<Box> mvhd, meta, udta;
    BoxWalker children(pieces, moov->body, moov->end);
    while (auto box = children.next()) {
        if (box->type == "mvhd")
            mvhd = box;
        else if (box->type == "meta")
            meta = box;
        else if (box->type == "udta")
            udta = box;
    }
    const AppleKeys apple = appleKeysOf(pieces, meta);
    std::optional<Box> userDay, userMeta;
    if (udta) {
        BoxWalker user(pieces, udta->body, udta->end);
        while (auto box = user.next()) {
            if (box->type == kDayBox)
                userDay = box;
            else if (box->type == "meta")
                userMeta = box;
            else if (box->type == "XMP_" && !xmp)
                xmp = box;
        }
    }
    Capture capture{CaptureMoment::fromIso(apple.creation), {apple.make, apple.model, {}}, apple.contentId};
    // A date that carries its zone says what the clock read, and where.
    if (!capture.moment && userDay)
        capture.moment = CaptureMoment::fromIso(userText(pieces, *userDay));
    if (!capture.moment && userMeta)
        capture.moment = CaptureMoment::fromIso(itemText(pieces, *userMeta, kDayBox));
    if (xmp && (!capture.moment || !capture.camera.known())) {
        if (const auto fromXmp = XmlCapture::of(pieces.read(xmp->body, boxLength(*xmp)))) {
            if (!capture.moment)
                capture.moment = fromXmp->moment;
            if (!capture.camera.known())
                capture.camera = fromXmp->camera;
        }
    }
    if (!capture.moment && mvhd)
        capture.moment = headerCreation(pieces, *mvhd);
    return capture;
}

} // namespace zanto
