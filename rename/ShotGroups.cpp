#include "ShotGroups.h"

#include "rename/AsciiCase.h"
#include "rename/FileSystem.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace zanto {

namespace {

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

// The shots as they grow, and the starts of names by which a file finds one:
// each listed member's name before its extension and its whole name.
class ShotIndex {
public:
    explicit ShotIndex(const NameKey& key)
        : m_key(key)
    {
    }

    // The shot `name` goes with, if any; a listed name also by its own name
    // before the extension, whatever its extension is.
    std::optional<std::size_t> shotFor(const std::string& name, bool listed) const
    {
        if (listed) {
            if (const auto shot = takerBy(stemOf(name), name))
                return shot;
        }
        // The longest fitting start first: from the last dot to the first.
        for (std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0; dot = name.rfind('.', dot - 1)) {
            if (!isExtensionTail(std::string_view(name).substr(dot)))
                break; // a shorter start has this tail in its own
            if (const auto shot = takerBy(name.substr(0, dot), name))
                return shot;
        }
        return std::nullopt;
    }

    void head(const std::string& entry, std::size_t position)
    {
        m_shots.push_back({entry, {entry}});
        m_positions.push_back({position});
        m_tails.emplace_back();
        addStarts(m_shots.size() - 1, entry);
    }

    void join(std::size_t shot, const std::string& member)
    {
        m_shots[shot].members.push_back(member);
        m_tails[shot].insert(tailKey(shot, member));
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
        m_tails[shot].insert(tailKey(shot, listed));
        for (const std::string& start : {stemOf(listed), listed}) {
            m_exact[start].push_back(shot);
            m_folded[asciiFolded(start)].push_back(shot);
        }
    }

    std::string tailKey(std::size_t shot, const std::string& member) const
    {
        return nameKeyOf(m_key, shotTail(m_shots[shot], member));
    }

    // A shot found by `start` that `name` can join without taking another
    // member's new name; one found byte for byte before one found in another case.
    std::optional<std::size_t> takerBy(const std::string& start, const std::string& name) const
    {
        for (const auto* starts : {&m_exact, &m_folded}) {
            const auto found = starts->find(starts == &m_exact ? start : asciiFolded(start));
            if (found == starts->end())
                continue;
            for (const std::size_t shot : found->second) {
                if (m_tails[shot].count(tailKey(shot, name)) == 0)
                    return shot;
            }
        }
        return std::nullopt;
    }

    const NameKey& m_key;
    std::vector<Shot> m_shots;
    std::vector<std::vector<std::size_t>> m_positions;    // list positions of each shot's listed members
    std::vector<std::unordered_set<std::string>> m_tails; // each shot's tails by nameKeyOf
    std::unordered_map<std::string, std::vector<std::size_t>> m_exact;
    std::unordered_map<std::string, std::vector<std::size_t>> m_folded;
};

} // namespace

std::vector<Shot> groupShots(const std::vector<std::string>& entries, const std::vector<std::string>& names,
                             const NameKey& key)
{
    ShotIndex index(key);
    // A name a shot is found by is never shorter than the name before the
    // extension of the member that brings it, so shorter ones come first.
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return stemOf(entries[a]).size() < stemOf(entries[b]).size(); });
    for (const std::size_t i : order) {
        if (const auto shot = index.shotFor(entries[i], true))
            index.joinListed(*shot, entries[i], i);
        else
            index.head(entries[i], i);
    }
    index.putListedInOrder();
    const std::unordered_set<std::string_view> listed(entries.begin(), entries.end());
    for (const std::string& name : names) {
        if (listed.count(name) != 0)
            continue;
        if (const auto shot = index.shotFor(name, false))
            index.join(*shot, name);
    }
    return std::move(index).inListOrder();
}

std::vector<std::string> shotHeads(const std::vector<std::string>& entries, const NameKey& key)
{
    std::vector<std::string> heads;
    for (Shot& shot : groupShots(entries, entries, key))
        heads.push_back(std::move(shot.entry));
    return heads;
}

Shot shotOf(const std::vector<std::string>& entries, const std::vector<std::string>& names, const std::string& name,
            const NameKey& key)
{
    for (Shot& shot : groupShots(entries, names, key)) {
        if (std::find(shot.members.begin(), shot.members.end(), name) != shot.members.end())
            return std::move(shot);
    }
    return {name, {name}};
}

Shot shotInFolder(FileSystem& fs, const std::string& folder, const std::vector<std::string>& entries,
                  const std::string& name, const NameKey& key)
{
    std::vector<std::string> names;
    if (fs.listNames(folder, names) != FsError::None)
        return {name, {name}};
    return shotOf(entries, names, name, key);
}

std::string shotTail(const Shot& shot, const std::string& member)
{
    if (member == shot.entry)
        return extensionOf(member);
    return member.substr(stemOf(shot.entry).size());
}

} // namespace zanto
