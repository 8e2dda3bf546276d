#include "Journal.h"

#include "rename/Fnv1a.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <sstream>

namespace zanto {

namespace {

constexpr std::string_view kMagic = "ZANTO-JOURNAL 3\n";
constexpr std::string_view kMagicV2 = "ZANTO-JOURNAL 2\n";
constexpr std::string_view kMagicV1 = "ZANTO-JOURNAL 1\n";
constexpr std::string_view kEnd = "end ";
constexpr char kHex[] = "0123456789abcdef";

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

constexpr char kStateLetters[] = {'O', 'T', 'F', 'M'};
constexpr std::string_view kStepNames[] = {"to-temporary", "to-final", "back-to-temporary", "back-to-original"};

// 16 hex digits and the line's end.
void appendSum(std::string& out, std::uint64_t sum)
{
    for (int shift = 60; shift >= 0; shift -= 4)
        out += kHex[(sum >> shift) & 0xF];
    out += '\n';
}

std::string encodeStates(std::string_view head, const std::vector<EntryState>& states)
{
    std::string out(head);
    out.reserve(head.size() + states.size() + 18);
    for (const EntryState state : states)
        out += kStateLetters[static_cast<unsigned char>(state)];
    out += ' ';
    appendSum(out, fnv1a(out));
    return out;
}

std::optional<std::vector<EntryState>> decodeStates(std::string_view letters, std::size_t count)
{
    if (letters.size() != count)
        return std::nullopt;
    std::vector<EntryState> states;
    states.reserve(count);
    for (const char letter : letters) {
        const auto* found = std::find(std::begin(kStateLetters), std::end(kStateLetters), letter);
        if (found == std::end(kStateLetters))
            return std::nullopt;
        states.push_back(static_cast<EntryState>(found - std::begin(kStateLetters)));
    }
    return states;
}

// One name of the folder: a journal altered to name "../x" must not move it.
bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The lines of a text, each without its line break; `closed` tells whether
// the last one had one.
class Lines {
public:
    explicit Lines(std::string_view text) : m_rest(text) {}
    std::optional<std::string_view> next(bool* closed = nullptr)
    {
        if (m_rest.empty())
            return std::nullopt;
        const std::size_t end = m_rest.find('\n');
        const std::string_view line = m_rest.substr(0, end);
        if (closed != nullptr)
            *closed = end != std::string_view::npos;
        m_rest = end == std::string_view::npos ? std::string_view() : m_rest.substr(end + 1);
        return line;
    }
    std::size_t offset(std::string_view all) const { return static_cast<std::size_t>(m_rest.data() - all.data()); }
    bool done() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

// An appended line: its text and a sum of it that matches.
// An item line's sum starts from its position, so that lines that changed
// places do not pass.
std::uint64_t itemSeed(std::size_t position)
{
    return fnv1a(std::to_string(position) + ' ');
}

std::optional<std::string_view> checkedText(std::string_view line, std::uint64_t seed = kFnvBasis)
{
    const std::size_t space = line.rfind(' ');
    std::uint64_t sum = 0;
    if (space == std::string_view::npos || line.size() - space - 1 != 16
        || std::from_chars(line.data() + space + 1, line.data() + line.size(), sum, 16).ptr
            != line.data() + line.size()
        || sum != fnv1a(line.substr(0, space + 1), seed))
        return std::nullopt;
    return line.substr(0, space);
}

// Reads an appended line into `journal`; false for anything else.
bool readAppended(std::string_view text, Journal& journal)
{
    Fields fields(text);
    const auto word = fields.word();
    if (word == "ended") {
        const auto letters = fields.word();
        journal.ended = letters && fields.done() ? decodeStates(*letters, journal.plan.items.size()) : std::nullopt;
        return journal.ended.has_value();
    }
    const auto name = fields.word();
    const auto letters = fields.word();
    if (word != "step" || !name || !letters || !fields.done())
        return false;
    const auto* found = std::find(std::begin(kStepNames), std::end(kStepNames), *name);
    auto states = decodeStates(*letters, journal.plan.items.size());
    if (found == std::end(kStepNames) || !states)
        return false;
    journal.lastStep = JournalStep{static_cast<MoveStep>(found - std::begin(kStepNames)), std::move(*states)};
    // A recovery that began after the run had ended: its steps tell now.
    journal.ended.reset();
    return true;
}

} // namespace

std::string encodeStep(MoveStep step, const std::vector<EntryState>& states)
{
    return encodeStates("step " + std::string(kStepNames[static_cast<unsigned char>(step)]) + ' ', states);
}

std::string encodeEnded(const std::vector<EntryState>& states)
{
    return encodeStates("ended ", states);
}

JournalEncoder::JournalEncoder(JournalKind kind, const BatchPlan& plan, const std::vector<FileStamp>& stamps)
    : m_kind(kind)
    , m_plan(plan)
    , m_stamps(stamps)
{
}

bool JournalEncoder::next(std::string& piece)
{
    piece.clear();
    if (m_done)
        return false;
    if (!m_headSum) {
        const FileStamp folder = m_plan.folderStamp.value_or(FileStamp{});
        piece = kMagic;
        piece += m_kind == JournalKind::Undo ? "kind undo\n" : "kind batch\n";
        piece += "folder " + std::to_string(folder.stableInode ? 1 : 0) + ' ' + std::to_string(folder.device) + ' '
            + std::to_string(folder.inode) + ' ';
        appendEscaped(piece, m_plan.folder);
        piece += "\nprefix ";
        appendEscaped(piece, m_plan.prefix);
        piece += "\nitems " + std::to_string(m_plan.items.size()) + '\n';
        m_headSum = fnv1a(piece);
        return true;
    }
    const std::size_t end = std::min(m_plan.items.size(), m_position + kItemsPerPiece);
    piece.reserve((end - m_position) * 112 + 32);
    const auto number = [&piece](auto value) {
        char digits[24];
        piece.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        piece += ' ';
    };
    for (; m_position < end; ++m_position) {
        const std::size_t lineStart = piece.size();
        const FileStamp& stamp = m_stamps[m_position];
        number(stamp.device);
        number(stamp.inode);
        number(stamp.size);
        number(stamp.modifiedNs);
        const BatchItem& item = m_plan.items[m_position];
        for (const std::string* name : {&item.original, &item.temporary, &item.final}) {
            appendEscaped(piece, *name);
            piece += ' ';
        }
        appendSum(piece, fnv1a(std::string_view(piece).substr(lineStart), itemSeed(m_position)));
    }
    if (m_position == m_plan.items.size()) {
        piece += kEnd;
        appendSum(piece, *m_headSum);
        m_done = true;
    }
    return true;
}

std::string encodeJournal(const Journal& journal)
{
    JournalEncoder encoder(journal.kind, journal.plan, journal.plan.stamps);
    std::string out;
    for (std::string piece; encoder.next(piece);)
        out += piece;
    return out;
}

namespace {

// One item line; false when it does not read as one.
bool readItem(std::string_view line, bool withDevice, const FileStamp& folder, BatchItem& item, FileStamp& stamp)
{
    Fields fields(line);
    stamp.device = folder.device;
    stamp.stableInode = folder.stableInode;
    return (!withDevice || fields.number(stamp.device)) && fields.number(stamp.inode) && fields.number(stamp.size)
        && fields.number(stamp.modifiedNs) && fields.name(item.original) && fields.name(item.temporary)
        && fields.name(item.final) && fields.done();
}

bool isPlainItem(const BatchItem& item)
{
    return isPlainName(item.original) && isPlainName(item.temporary) && isPlainName(item.final);
}

// A damaged item is never looked for: whatever the steps say, it is missing.
void markDamaged(Journal& journal)
{
    for (const std::size_t i : journal.damaged) {
        if (journal.lastStep)
            journal.lastStep->states[i] = EntryState::Missing;
        if (journal.ended)
            (*journal.ended)[i] = EntryState::Missing;
    }
}

} // namespace

std::optional<Journal> decodeJournal(const std::string& bytes)
{
    const std::string_view all(bytes);
    Journal journal;
    const int version = all.starts_with(kMagic) ? 3 : all.starts_with(kMagicV2) ? 2 : all.starts_with(kMagicV1) ? 1 : 0;
    if (version == 0)
        return std::nullopt;
    journal.stepsUnknown = version == 1;
    Lines lines(all.substr(kMagic.size()));
    const auto at = [&] { return kMagic.size() + lines.offset(all.substr(kMagic.size())); };

    auto line = lines.next();
    if (version > 1) {
        if (line == "kind undo")
            journal.kind = JournalKind::Undo;
        else if (line != "kind batch")
            return std::nullopt;
        line = lines.next();
    }
    BatchPlan& plan = journal.plan;
    FileStamp folder;
    int stable = 0;
    Fields head(line.value_or(""));
    if (head.word() != "folder" || !head.number(stable) || !head.number(folder.device) || !head.number(folder.inode)
        || !head.name(plan.folder) || !head.done() || plan.folder.empty())
        return std::nullopt;
    folder.stableInode = stable != 0;
    plan.folderStamp = folder;
    Fields prefix(lines.next().value_or(""));
    if (prefix.word() != "prefix" || !prefix.name(plan.prefix) || !prefix.done())
        return std::nullopt;
    Fields itemCount(lines.next().value_or(""));
    std::size_t count = 0;
    if (itemCount.word() != "items" || !itemCount.number(count) || !itemCount.done() || count > bytes.size())
        return std::nullopt;
    const std::size_t headEnd = at();
    plan.items.reserve(count);
    plan.stamps.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto itemLine = lines.next().value_or("");
        BatchItem item;
        FileStamp stamp;
        if (version < 3) {
            // One sum covers the whole plan: a damaged line is a damaged journal.
            if (!readItem(itemLine, false, folder, item, stamp) || !isPlainItem(item))
                return std::nullopt;
        } else if (const auto text = checkedText(itemLine, itemSeed(i));
                   !text || !readItem(*text, true, folder, item, stamp) || !isPlainItem(item)) {
            // Kept for the notice, with the name it had as far as it reads.
            const auto readable = readItem(text.value_or(itemLine.substr(0, itemLine.rfind(' '))), true, folder, item, stamp)
                ? std::optional(item.original) : std::nullopt;
            item = BatchItem{readable.value_or(std::string(itemLine.substr(0, 64))), {}, {}};
            stamp = FileStamp{};
            journal.damaged.push_back(i);
        }
        plan.items.push_back(std::move(item));
        plan.stamps.push_back(stamp);
    }
    const std::size_t endAt = at();
    bool closed = false;
    const auto endLine = lines.next(&closed);
    std::uint64_t sum = 0;
    if (!endLine || !closed || !endLine->starts_with(kEnd) || endLine->size() != kEnd.size() + 16
        || std::from_chars(endLine->data() + kEnd.size(), endLine->data() + endLine->size(), sum, 16).ptr
            != endLine->data() + endLine->size()
        || sum != fnv1a(all.substr(0, version < 3 ? endAt : headEnd)))
        return std::nullopt;

    // A line whose sum does not match was torn by a power cut while it was
    // written, so the step it began never moved a file: it is passed over.
    while (const auto appended = lines.next(&closed)) {
        const auto text = closed ? checkedText(*appended) : std::nullopt;
        if (text && !readAppended(*text, journal))
            return std::nullopt;
    }
    markDamaged(journal);
    return journal;
}

} // namespace zanto
