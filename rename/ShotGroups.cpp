#include "ShotGroups.h"

#include "rename/AsciiCase.h"
#include "rename/FileNameParts.h"

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

} // namespace

std::vector<Shot> groupShots(const std::vector<std::string>& entries, const std::vector<std::string>& names)
{
    std::vector<Shot> shots;
    std::unordered_map<std::string, std::size_t> byStem; // folded stem -> shot
    std::unordered_map<std::string_view, std::size_t> entryShot;
    for (const std::string& entry : entries) {
        const auto [at, added] = byStem.try_emplace(asciiFolded(stemOf(entry)), shots.size());
        if (added)
            shots.push_back({entry, {entry}});
        else
            shots[at->second].members.push_back(entry);
        entryShot.emplace(entry, at->second);
    }
    for (const std::string& name : names) {
        if (entryShot.count(name) != 0)
            continue;
        // The longest fitting start first: from the last dot to the first.
        for (std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0; dot = name.rfind('.', dot - 1)) {
            const auto shot = byStem.find(asciiFolded(std::string_view(name).substr(0, dot)));
            if (shot != byStem.end() && isExtensionTail(std::string_view(name).substr(dot))) {
                shots[shot->second].members.push_back(name);
                break;
            }
        }
    }
    return shots;
}

std::vector<std::string> shotHeads(const std::vector<std::string>& entries)
{
    std::vector<std::string> heads;
    std::unordered_set<std::string> stems;
    for (const std::string& entry : entries) {
        if (stems.insert(asciiFolded(stemOf(entry))).second)
            heads.push_back(entry);
    }
    return heads;
}

std::string shotTail(const Shot& shot, const std::string& member)
{
    if (member == shot.entry)
        return extensionOf(member);
    return member.substr(stemOf(shot.entry).size());
}

} // namespace zanto
