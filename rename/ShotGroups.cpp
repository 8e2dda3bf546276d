#include "ShotGroups.h"

#include "rename/AsciiCase.h"
#include "rename/FileSystem.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

constexpr std::size_t kNamesPerBeat = 4096;

// ".CR2", ".cr2.xmp": one or more extensions of one to five characters.
bool isExtensionTail(std::string_view tail)
{
    if (tail.empty())
        return false;
    while (!tail.empty()) {
        if (tail.front() != '.')
            return false;
        const std::size_t next = tail.find('.', 1);
        const std::string_view part = tail.substr(1, next == std::string_view::npos ? tail.npos : next - 1);
        if (part.empty() || part.size() > 5 || part.find(' ') != std::string_view::npos)
            return false;
        tail.remove_prefix(1 + part.size());
    }
    return true;
}

// Whether the name's extension is one of `extensions`, in any ASCII case.
template <std::size_t N>
bool hasExtensionAmong(std::string_view name, const std::array<std::string_view, N>& extensions)
{
    const std::string_view extension = extensionViewOf(name);
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](std::string_view known) { return equalIgnoringAsciiCase(extension, known); });
}

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}


// The companions that cameras and phones name after their photo or clip
// otherwise than by an extension; each rule gives the starts a name finds
// its shot by, and what its new name keeps after the new stem.
using CompanionRule = void (*)(const std::string& name, std::vector<ShotStart>& starts);

// An iPhone's edited copy and its original's adjustments:
// IMG_E1234.HEIC, IMG_O1234.AAE with IMG_1234.HEIC.
void appleEdit(const std::string& name, std::vector<ShotStart>& starts)
{
    constexpr std::size_t kDigits = 4;
    const std::size_t dot = std::min(name.find('.'), name.size());
    if (dot != 5 + kDigits || !equalIgnoringAsciiCase(std::string_view(name).substr(0, 4), "IMG_"))
        return;
    const char letter = name[4];
    if ((letter != 'E' && letter != 'O' && letter != 'e' && letter != 'o') || !isDigits(name.substr(5, kDigits)))
        return;
    starts.push_back({name.substr(0, 4) + name.substr(5, kDigits), std::string("_") + letter + name.substr(dot)});
}

// A GoPro's low-resolution copy: GL011234.LRV with GX011234.MP4 (or GH, the older HEVC one).
void goProProxy(const std::string& name, std::vector<ShotStart>& starts)
{
    const std::size_t dot = name.find('.');
    if (dot != 8 || !equalIgnoringAsciiCase(std::string_view(name).substr(0, 2), "GL") || !isDigits(name.substr(2, 6)))
        return;
    for (const char* video : {"GX", "GH"})
        starts.push_back({video + name.substr(2, 6), name.substr(dot)});
}

// A Sony clip's metadata: C0001M01.XML with C0001.MP4.
void sonyClipXml(const std::string& name, std::vector<ShotStart>& starts)
{
    constexpr std::string_view kTail = "M01.XML";
    if (name.size() <= kTail.size() || !equalIgnoringAsciiCase(std::string_view(name).substr(name.size() - kTail.size()), kTail))
        return;
    const std::size_t cut = name.size() - kTail.size();
    if (name[cut - 1] >= '0' && name[cut - 1] <= '9')
        starts.push_back({name.substr(0, cut), name.substr(cut)});
}

// Google Takeout's metadata: IMG_1234.JPG.supplemental-metadata.json with
// IMG_1234.JPG, also where Takeout cut the name short (at 51 characters):
// IMG_1234.JPG.supplemental-me.json.
void takeoutJson(const std::string& name, std::vector<ShotStart>& starts)
{
    constexpr std::string_view kJson = ".json", kSupplement = ".supplemental-metadata";
    if (name.size() <= kJson.size() || !equalIgnoringAsciiCase(std::string_view(name).substr(name.size() - kJson.size()), kJson))
        return;
    const std::string_view kept = std::string_view(name).substr(0, name.size() - kJson.size());
    for (std::size_t cut = kept.size() <= kSupplement.size() ? 1 : kept.size() - kSupplement.size();
         cut < kept.size(); ++cut) {
        if (kSupplement.substr(0, kept.size() - cut) == kept.substr(cut))
            starts.push_back({std::string(kept.substr(0, cut)), name.substr(cut)});
    }
}

constexpr std::array<CompanionRule, 4> kCompanionRules{appleEdit, goProProxy, sonyClipXml, takeoutJson};

// Calls `visit(start, tail)` for each start that shotStartsOf gives, in its
// order, until one returns true; copies nothing where no companion rule applies.
template <typename Visit>
bool visitShotStarts(const std::string& name, Visit&& visit)
{
    // The longest fitting start first: from the last dot to the first.
    for (std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0; dot = name.rfind('.', dot - 1)) {
        if (!isExtensionTail(std::string_view(name).substr(dot)))
            break; // a shorter start has this tail in its own
        if (visit(std::string_view(name).substr(0, dot), std::string_view(name).substr(dot)))
            return true;
    }
    std::vector<ShotStart> companions;
    for (const CompanionRule rule : kCompanionRules)
        rule(name, companions);
    return std::any_of(companions.begin(), companions.end(),
                       [&](const ShotStart& start) { return visit(start.start, start.tail); });
}

// The shots as they grow, and the starts of names by which a file finds one:
// each listed member's name before its extension and its whole name.
class ShotIndex {
public:
    ShotIndex(const NameKey& key, const ShotLinks* links, std::size_t entries, std::size_t names)
        : m_key(key), m_links(links)
    {
        m_shots.reserve(entries);
        m_positions.reserve(entries);
        m_starts.reserve(2 * entries);
        m_tails.reserve(names);
    }

    // The shot `name` goes with, if any; a listed name also by its own name
    // before the extension, whatever its extension is.
    std::optional<std::size_t> shotFor(const std::string& name, bool listed) const
    {
        // An identifier the metadata shares goes before any name.
        if (const std::string* link = linkOf(name)) {
            const auto linked = m_linked.find(*link);
            if (linked != m_linked.end() && m_tails.count(tailKey(linked->second, name)) == 0)
                return linked->second;
        }
        const std::string stem = listed ? stemOf(name) : std::string();
        if (listed) {
            if (const auto shot = takerBy(stem, name))
                return shot;
        }
        std::optional<std::size_t> found;
        visitShotStarts(name, [&](std::string_view start, std::string_view) {
            if (listed && start == stem)
                return false; // tried above
            found = takerBy(start, name);
            return found.has_value();
        });
        return found;
    }

    void head(const std::string& entry, std::size_t position)
    {
        m_shots.push_back({entry, {entry}});
        m_positions.push_back({position});
        m_shotLinks.emplace_back();
        addStarts(m_shots.size() - 1, entry);
        link(m_shots.size() - 1, entry);
    }

    void join(std::size_t shot, const std::string& member)
    {
        m_shots[shot].members.push_back(member);
        m_tails.insert(tailKey(shot, member));
        link(shot, member);
    }

    void joinListed(std::size_t shot, const std::string& entry, std::size_t position)
    {
        join(shot, entry);
        m_positions[shot].push_back(position);
        addStarts(shot, entry);
    }

    // The listed members in list order after each head, the shots in the
    // order of their first listed members.
    void putListedInOrder()
    {
        for (std::size_t k = 0; k < m_shots.size(); ++k) {
            if (m_shots[k].members.size() == 1)
                continue;
            std::vector<std::size_t> order(m_shots[k].members.size() - 1);
            std::iota(order.begin(), order.end(), std::size_t{1});
            std::sort(order.begin(), order.end(),
                      [&](std::size_t a, std::size_t b) { return m_positions[k][a] < m_positions[k][b]; });
            std::vector<std::string> members{m_shots[k].entry};
            for (const std::size_t i : order)
                members.push_back(std::move(m_shots[k].members[i]));
            m_shots[k].members = std::move(members);
        }
    }

    std::vector<Shot> inListOrder() &&
    {
        std::vector<std::size_t> order(m_shots.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        const auto first = [&](std::size_t k) { return *std::min_element(m_positions[k].begin(), m_positions[k].end()); };
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return first(a) < first(b); });
        std::vector<Shot> shots;
        for (const std::size_t k : order)
            shots.push_back(std::move(m_shots[k]));
        return shots;
    }

private:
    void addStarts(std::size_t shot, const std::string& listed)
    {
        m_tails.insert(tailKey(shot, listed));
        for (const std::string& start : {stemOf(listed), listed})
            m_starts[asciiFolded(start)].push_back({shot, start});
    }

    // A shot's number and a tail by nameKeyOf, as one key: no name holds a "/".
    std::string tailKey(std::size_t shot, const std::string& member) const
    {
        return std::to_string(shot) + '/' + nameKeyOf(m_key, shotTail(m_shots[shot], member));
    }

    const std::string* linkOf(const std::string& name) const
    {
        if (m_links == nullptr)
            return nullptr;
        const auto found = m_links->find(name);
        return found == m_links->end() ? nullptr : &found->second;
    }

    // The first identifier that a shot's members bring is the shot's.
    void link(std::size_t shot, const std::string& member)
    {
        const std::string* identifier = linkOf(member);
        if (identifier == nullptr || !m_shotLinks[shot].empty())
            return;
        m_shotLinks[shot] = *identifier;
        m_linked.emplace(*identifier, shot);
    }

    // A shot found by `start` that `name` can join without taking another
    // member's new name, nor another identifier than its own; one found
    // byte for byte before one found in another case.
    std::optional<std::size_t> takerBy(std::string_view start, const std::string& name) const
    {
        const auto found = m_starts.find(asciiFolded(start));
        if (found == m_starts.end())
            return std::nullopt;
        const std::string* identifier = linkOf(name);
        for (const bool exact : {true, false}) {
            for (const Start& candidate : found->second) {
                const std::string& theirs = m_shotLinks[candidate.shot];
                if ((candidate.start == start) == exact && m_tails.count(tailKey(candidate.shot, name)) == 0
                    && (identifier == nullptr || theirs.empty() || theirs == *identifier))
                    return candidate.shot;
            }
        }
        return std::nullopt;
    }

    // A listed member's name, or its name before the extension, that a
    // shot is found by in any letter case.
    struct Start {
        std::size_t shot;
        std::string start;
    };

    const NameKey& m_key;
    const ShotLinks* m_links;
    std::vector<Shot> m_shots;
    std::vector<std::string> m_shotLinks;                     // each shot's identifier, if any
    std::unordered_map<std::string, std::size_t> m_linked;    // the shot of each identifier
    std::vector<std::vector<std::size_t>> m_positions; // list positions of each shot's listed members
    std::unordered_set<std::string> m_tails;           // every shot's tails, by tailKey
    std::unordered_map<std::string, std::vector<Start>> m_starts; // by the start's ASCII-folded form
};

} // namespace

std::vector<Shot> groupShots(const std::vector<std::string>& entries, const std::vector<std::string>& names,
                             const NameKey& key, const Pulse& pulse, const ShotLinks* links)
{
    std::size_t looked = 0;
    const auto counted = [&] {
        if (++looked % kNamesPerBeat == 0)
            beat(pulse);
    };
    ShotIndex index(key, links, entries.size(), names.size());
    // A name a shot is found by is never shorter than the name before the
    // extension of the member that brings it, so shorter ones come first.
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // A companion never heads a shot its picture or clip is listed in.
    std::vector<std::pair<bool, std::size_t>> rank;
    rank.reserve(entries.size());
    for (const std::string& entry : entries)
        rank.emplace_back(isCompanion(entry), stemOf(entry).size());
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rank[a] < rank[b]; });
    for (const std::size_t i : order) {
        counted();
        if (const auto shot = index.shotFor(entries[i], true))
            index.joinListed(*shot, entries[i], i);
        else
            index.head(entries[i], i);
    }
    index.putListedInOrder();
    if (&names == &entries) // every name listed: none left to join
        return std::move(index).inListOrder();
    const std::unordered_set<std::string_view> listed(entries.begin(), entries.end());
    for (const std::string& name : names) {
        counted();
        if (listed.count(name) != 0)
            continue;
        if (const auto shot = index.shotFor(name, false))
            index.join(*shot, name);
    }
    return std::move(index).inListOrder();
}

std::vector<std::string> shotHeads(const std::vector<std::string>& entries, const NameKey& key,
                                   const ShotLinks* links)
{
    std::vector<std::string> heads;
    for (Shot& shot : groupShots(entries, entries, key, {}, links))
        heads.push_back(std::move(shot.entry));
    return heads;
}

Shot shotOf(const std::vector<std::string>& entries, const std::vector<std::string>& names, const std::string& name,
            const NameKey& key, const ShotLinks* links)
{
    for (Shot& shot : groupShots(entries, names, key, {}, links)) {
        if (std::find(shot.members.begin(), shot.members.end(), name) != shot.members.end())
            return std::move(shot);
    }
    return {name, {name}};
}

Shot shotInFolder(FileSystem& fs, const std::string& folder, const std::vector<std::string>& entries,
                  const std::string& name, const NameKey& key, const ShotLinks* links)
{
    std::vector<std::string> names;
    if (fs.listNames(folder, names) != FsError::None)
        return {name, {name}};
    return shotOf(entries, names, name, key, links);
}

std::vector<ShotStart> shotStartsOf(const std::string& name)
{
    std::vector<ShotStart> starts;
    visitShotStarts(name, [&](std::string_view start, std::string_view tail) {
        starts.push_back({std::string(start), std::string(tail)});
        return false;
    });
    return starts;
}

bool isCompanion(const std::string& name)
{
    static constexpr std::array<std::string_view, 5> kExtensions{".xmp", ".aae", ".json", ".thm", ".lrv"};
    if (hasExtensionAmong(name, kExtensions))
        return true;
    std::vector<ShotStart> starts;
    sonyClipXml(name, starts);
    return !starts.empty();
}

std::string shotTail(const Shot& shot, const std::string& member)
{
    if (member == shot.entry)
        return extensionOf(member);
    const std::string stem = stemOf(shot.entry);
    if (equalIgnoringAsciiCase(std::string_view(member).substr(0, stem.size()), stem))
        return member.substr(stem.size());
    // A companion named otherwise (IMG_E1234.HEIC, GL011234.LRV)
    for (const ShotStart& start : shotStartsOf(member)) {
        if (equalIgnoringAsciiCase(start.start, stem))
            return start.tail;
    }
    return extensionOf(member); // a member by its identifier alone
}

std::vector<std::string> linkCandidates(const std::vector<std::string>& names)
{
    enum class Kind { Other, Still, Clip };
    const auto kindOf = [](const std::string& name) {
        static constexpr std::array<std::string_view, 4> kStills{".heic", ".heif", ".jpg", ".jpeg"};
        static constexpr std::array<std::string_view, 2> kClips{".mov", ".mp4"};
        return hasExtensionAmong(name, kStills) ? Kind::Still
               : hasExtensionAmong(name, kClips) ? Kind::Clip
                                                 : Kind::Other;
    };
    // Most folders hold stills alone, or clips alone: nothing to read.
    bool stills = false, clips = false;
    for (const std::string& name : names) {
        const Kind kind = kindOf(name);
        stills = stills || kind == Kind::Still;
        clips = clips || kind == Kind::Clip;
    }
    if (!stills || !clips)
        return {};
    std::unordered_map<std::string, const std::string*> stillOf; // by the folded stem
    std::unordered_set<std::string> clipStems;
    for (const std::string& name : names) {
        const Kind kind = kindOf(name);
        if (kind == Kind::Still)
            stillOf.emplace(asciiFolded(stemOf(name)), &name);
        else if (kind == Kind::Clip)
            clipStems.insert(asciiFolded(stemOf(name)));
    }
    // A clip whose stem is a still's and more after a separator, where the
    // still has no clip of its own name.
    std::vector<std::string> candidates;
    for (const std::string& name : names) {
        if (kindOf(name) != Kind::Clip)
            continue;
        const std::string stem = asciiFolded(stemOf(name));
        for (std::size_t cut = stem.find_last_of("_- ("); cut != std::string::npos && cut > 0;
             cut = stem.find_last_of("_- (", cut - 1)) {
            const std::string start = stem.substr(0, cut);
            const auto still = stillOf.find(start);
            if (still != stillOf.end() && clipStems.count(start) == 0) {
                candidates.push_back(*still->second);
                candidates.push_back(name);
                break;
            }
        }
    }
    return candidates;
}

} // namespace zanto
