#include "IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <cctype>
#include <optional>

namespace zanto {

namespace {

QString filePath(const QString& application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + application + u'/'
        + application + QStringLiteral(".ini");
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QString> sectionOf(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

// The value of `line` when it sets `name`.
std::optional<QString> valueOf(const QString& line, const QString& name)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0 || trimmed.left(equals).trimmed() != name)
        return std::nullopt;
    return trimmed.mid(equals + 1).trimmed();
}

QString unescaped(const QString& quoted)
{
    QString out;
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        const QChar c = quoted[i];
        if (c != u'\\' || i + 1 == quoted.size()) {
            out += c;
            continue;
        }
        const QChar e = quoted[++i];
        switch (e.unicode()) {
        case 'a': out += u'\a'; break;
        case 'b': out += u'\b'; break;
        case 'f': out += u'\f'; break;
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'v': out += u'\v'; break;
        case 'x': {
            qsizetype end = i + 1;
            while (end < quoted.size() && end < i + 5 && quoted[end].unicode() < 128
                   && std::isxdigit(quoted[end].unicode()))
                ++end;
            out += QChar(quoted.mid(i + 1, end - i - 1).toUShort(nullptr, 16));
            i = end - 1;
            break;
        }
        default: out += e; break;
        }
    }
    return out;
}

QString decoded(const QString& raw)
{
    QString text = raw.size() >= 2 && raw.startsWith(u'"') && raw.endsWith(u'"') ? unescaped(raw.mid(1, raw.size() - 2))
                                                                                : raw;
    // "@@" is how a text that starts with "@" was written.
    if (text.startsWith(QStringLiteral("@@")))
        text.remove(0, 1);
    return text;
}

QString encoded(const QString& value)
{
    QString text = value.startsWith(u'@') ? u'@' + value : value;
    bool plain = text == text.trimmed() && !text.startsWith(u'"');
    QString quoted;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') {
            quoted += u'\\';
            quoted += c;
            plain = false;
        } else if (c.unicode() < 0x20) {
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            plain = false;
        } else {
            if (c == u';' || c == u',')
                plain = false; // quoted, so that earlier versions read it whole too
            quoted += c;
        }
    }
    return plain ? text : u'"' + quoted + u'"';
}

} // namespace

QString IniSettingsStore::read(const QString& application, const QString& section, const QString& name) const
{
    QString current;
    std::optional<QString> found;
    for (const QString& line : readLines(filePath(application))) {
        if (const auto header = sectionOf(line)) {
            current = *header;
        } else if (current == section) {
            if (const auto value = valueOf(line, name))
                found = decoded(*value);
        }
    }
    return found.value_or(QString());
}

bool IniSettingsStore::store(const QString& application, const QString& section, const QString& name,
                             const QString& value)
{
    const QString path = filePath(application);
    QStringList lines = readLines(path);
    const QString entry = name + u'=' + encoded(value);

    QString current;
    qsizetype sectionEnd = -1; // where a new value of the section goes
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto header = sectionOf(lines[i])) {
            current = *header;
            if (current == section)
                sectionEnd = i + 1;
        } else if (current == section) {
            if (valueOf(lines[i], name)) {
                lines[i] = entry;
                replaced = true;
            } else if (!lines[i].trimmed().isEmpty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!replaced) {
        if (sectionEnd < 0) {
            if (!lines.isEmpty())
                lines.append(QString());
            lines.append(u'[' + section + u']');
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, entry);
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(u'\n') + u'\n').toUtf8());
    // A write that failed fails the commit, which leaves the old file in place.
    return file.commit();
}

} // namespace zanto
