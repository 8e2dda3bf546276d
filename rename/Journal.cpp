#include "Journal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <sstream>

namespace zanto {

namespace {

constexpr std::string_view kMagic = "ZANTO-JOURNAL 1\n";
constexpr std::string_view kEnd = "end ";
constexpr char kHex[] = "0123456789abcdef";

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char ch : bytes) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool needsEscape(char ch)
{
    const auto byte = static_cast<unsigned char>(ch);
    return byte <= 0x20 || byte == 0x7F || byte == '%';
}

void appendEscaped(std::string& out, std::string_view name)
{
    // Plain runs in one append: most names need no escape at all.
    for (auto run = name.begin(); run != name.end();) {
        const auto special = std::find_if(run, name.end(), needsEscape);
        out.append(run, special);
        if (special == name.end())
            break;
        const auto byte = static_cast<unsigned char>(*special);
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
        run = special + 1;
    }
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size() || std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr
                != text.data() + i + 3)
            return std::nullopt;
        name += static_cast<char>(value);
        i += 2;
    }
    return name;
}

// Reads the space-separated fields of one line.
class Fields {
public:
    explicit Fields(std::string_view line) : m_rest(line) {}

    // Words may be empty ("prefix " of a plan without one); none past the last.
    std::optional<std::string_view> word()
    {
        if (!m_rest)
            return std::nullopt;
        const std::size_t space = m_rest->find(' ');
        const std::string_view word = m_rest->substr(0, space);
        m_rest = space == std::string_view::npos ? std::nullopt : std::optional(m_rest->substr(space + 1));
        return word;
    }
    template <typename T>
    bool number(T& value)
    {
        const auto text = word();
        return text && !text->empty()
            && std::from_chars(text->data(), text->data() + text->size(), value).ptr == text->data() + text->size();
    }
    bool name(std::string& value)
    {
        const auto text = word();
        auto decoded = text ? unescaped(*text) : std::nullopt;
        if (decoded)
            value = std::move(*decoded);
        return decoded.has_value();
    }
    bool done() const { return !m_rest; }

private:
    std::optional<std::string_view> m_rest;
};

} // namespace

std::string encodeJournal(const Journal& plan)
{
    const FileStamp folder = plan.folderStamp.value_or(FileStamp{});
    std::string out(kMagic);
    out += "folder " + std::to_string(folder.stableInode ? 1 : 0) + ' ' + std::to_string(folder.device) + ' '
        + std::to_string(folder.inode) + ' ';
    appendEscaped(out, plan.folder);
    out += "\nprefix ";
    appendEscaped(out, plan.prefix);
    out += "\nitems " + std::to_string(plan.items.size()) + '\n';
    out.reserve(out.size() + plan.items.size() * 96);
    const auto number = [&out](auto value) {
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        out += ' ';
    };
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const FileStamp& stamp = plan.stamps[i];
        number(stamp.inode);
        number(stamp.size);
        number(stamp.modifiedNs);
        const BatchItem& item = plan.items[i];
        for (const std::string* name : {&item.original, &item.temporary, &item.final}) {
            appendEscaped(out, *name);
            out += name == &item.final ? '\n' : ' ';
        }
    }
    const std::uint64_t sum = fnv1a(out);
    out += kEnd;
    for (int shift = 60; shift >= 0; shift -= 4)
        out += kHex[(sum >> shift) & 0xF];
    out += '\n';
    return out;
}

std::optional<Journal> decodeJournal(const std::string& bytes)
{
    const std::string_view all(bytes);
    const std::size_t endLine = all.rfind(kEnd);
    std::uint64_t sum = 0;
    if (!all.starts_with(kMagic) || endLine == std::string_view::npos || all.size() != endLine + kEnd.size() + 17
        || all.back() != '\n'
        || std::from_chars(all.data() + endLine + kEnd.size(), all.data() + all.size() - 1, sum, 16).ptr
            != all.data() + all.size() - 1
        || sum != fnv1a(all.substr(0, endLine)))
        return std::nullopt;

    std::istringstream lines(std::string(all.substr(kMagic.size(), endLine - kMagic.size())));
    std::string line;
    Journal plan;
    FileStamp folder;
    int stable = 0;
    std::size_t count = 0;
    if (!std::getline(lines, line))
        return std::nullopt;
    Fields head(line);
    if (head.word() != "folder" || !head.number(stable) || !head.number(folder.device) || !head.number(folder.inode)
        || !head.name(plan.folder) || !head.done())
        return std::nullopt;
    folder.stableInode = stable != 0;
    plan.folderStamp = folder;
    if (!std::getline(lines, line))
        return std::nullopt;
    Fields prefix(line);
    if (prefix.word() != "prefix" || !prefix.name(plan.prefix) || !prefix.done() || !std::getline(lines, line))
        return std::nullopt;
    Fields itemCount(line);
    if (itemCount.word() != "items" || !itemCount.number(count) || !itemCount.done())
        return std::nullopt;
    while (std::getline(lines, line)) {
        Fields fields(line);
        FileStamp stamp;
        stamp.device = folder.device;
        stamp.stableInode = folder.stableInode;
        BatchItem item;
        if (!fields.number(stamp.inode) || !fields.number(stamp.size)
            || !fields.number(stamp.modifiedNs) || !fields.name(item.original) || !fields.name(item.temporary)
            || !fields.name(item.final) || !fields.done())
            return std::nullopt;
        plan.items.push_back(std::move(item));
        plan.stamps.push_back(stamp);
    }
    if (plan.items.size() != count)
        return std::nullopt;
    return plan;
}

} // namespace zanto
