#include "listing/IsoBmffTime.h"

#include "listing/BoxWalker.h"
#include "listing/ExifMoment.h"
#include "listing/FilePieces.h"
#include "listing/MomentKey.h"

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

} // namespace

bool IsoBmffTime::recognises(const std::string& head)
{
    return familyOf(head).has_value();
}

std::optional<std::string> IsoBmffTime::moment(FilePieces& pieces)
{
    switch (familyOf(pieces.head()).value_or(Family::Video)) {
    case Family::Heif:
        return heifExif(pieces);
    case Family::Canon:
        return canonExif(pieces);
    case Family::Video:
        return videoCreation(pieces);
    }
    return std::nullopt;
}

std::optional<std::string> IsoBmffTime::heifExif(FilePieces& pieces)
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
    return ExifMoment::inFile(pieces, start + 4 + skip, length - 4 - skip);
}

std::optional<std::string> IsoBmffTime::canonExif(FilePieces& pieces)
{
    const auto moov = BoxWalker(pieces, 0, pieces.size()).find("moov");
    if (!moov)
        return std::nullopt;
    BoxWalker children(pieces, moov->body, moov->end);
    while (auto uuid = children.find("uuid")) {
        if (pieces.read(uuid->body, kCanonUuid.size()) != kCanonUuid)
            continue;
        // CMT2 is a TIFF structure whose first IFD holds the Exif tags.
        const auto cmt2 = BoxWalker(pieces, uuid->body + kCanonUuid.size(), uuid->end).find("CMT2");
        if (!cmt2)
            return std::nullopt;
        return ExifMoment::inFile(pieces, cmt2->body, cmt2->end - cmt2->body);
    }
    return std::nullopt;
}

std::optional<std::string> IsoBmffTime::videoCreation(FilePieces& pieces)
{
    constexpr std::uint64_t kSecondsFrom1904To1970 = 2'082'844'800;
    constexpr std::uint64_t kLastSecondOf9999 = 253'402'300'799 + kSecondsFrom1904To1970;
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    const auto moov = BoxWalker(pieces, 0, pieces.size()).find("moov");
    if (!moov)
        return std::nullopt;
    const auto mvhd = BoxWalker(pieces, moov->body, moov->end).find("mvhd");
    if (!mvhd)
        return std::nullopt;
    const std::string_view header = pieces.read(mvhd->body, 12);
    const std::uint64_t created = FilePieces::be(header, 4, FilePieces::be(header, 0, 1) == 1 ? 8 : 4);
    if (created == 0 || created > kLastSecondOf9999) // 0: never set
        return std::nullopt;
    // The count is UTC, as the format has it and phones write it (a few
    // cameras write their local time instead; we follow the format). Turned
    // into local time it compares with the wall-clock dates of EXIF.
    const auto unixSeconds = static_cast<std::int64_t>(created) - static_cast<std::int64_t>(kSecondsFrom1904To1970);
    std::string moment = MomentKey::fromUtc(unixSeconds * kNsPerSecond);
    if (moment.empty())
        return std::nullopt;
    return moment;
}

} // namespace zanto
