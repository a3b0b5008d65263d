#include "platform/IniFile.h"

#include "platform/CodePage1250.h"
#include "platform/DurableFile.h"

#include <QList>

#include <optional>

namespace veritam::IniFile {

namespace {

/// The content split into lines; each keeps its own line end, so that unchanged lines are
/// written back exactly as they were read.
QList<QByteArray> split(const QByteArray& content) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

/// For reading: a file that cannot be read reads as empty, as with the profile API.
QList<QByteArray> linesOf(const QString& path) {
    try {
        return split(DurableFile::readIfExists(path));
    } catch (const FileError&) {
        return {};
    }
}

QByteArray withoutLineEnd(const QByteArray& line) {
    QByteArray text = line;
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    return text;
}

/// The section name when the line is a section header.
std::optional<QByteArray> sectionOf(const QByteArray& line) {
    const QByteArray text = withoutLineEnd(line).trimmed();
    if (text.startsWith('[') && text.endsWith(']'))
        return text.mid(1, text.size() - 2).trimmed();
    return std::nullopt;
}

bool sameName(const QByteArray& a, const QString& b) {
    return CodePage1250::decode(a).compare(b, Qt::CaseInsensitive) == 0;
}

/// The key of a "key=value" line, or nothing.
std::optional<QByteArray> keyOf(const QByteArray& line) {
    const QByteArray text = withoutLineEnd(line);
    const qsizetype equals = text.indexOf('=');
    if (equals < 0 || text.trimmed().startsWith(';'))
        return std::nullopt;
    return text.left(equals).trimmed();
}

struct Place {
    qsizetype section = -1;  ///< header line of the section, -1 when missing
    qsizetype key = -1;      ///< the key's line, -1 when missing
    qsizetype lastLine = -1; ///< last non-blank line of the section
};

Place find(const QList<QByteArray>& lines, const QString& section, const QString& key) {
    Place place;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            if (place.section >= 0 && inSection)
                break; // the first section of that name counts, as with the profile API
            inSection = sameName(*name, section);
            if (inSection) {
                place.section = i;
                place.lastLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!withoutLineEnd(lines[i]).trimmed().isEmpty())
            place.lastLine = i;
        if (const auto k = keyOf(lines[i]); k && place.key < 0 && sameName(*k, key))
            place.key = i;
    }
    return place;
}

QByteArray ended(const QByteArray& line) {
    return line.endsWith('\n') ? line : withoutLineEnd(line) + "\r\n";
}

} // namespace

QByteArray readBytes(const QString& path, const QString& section, const QString& key) {
    const QList<QByteArray> lines = linesOf(path);
    const Place place = find(lines, section, key);
    if (place.key < 0)
        return {};
    const QByteArray line = withoutLineEnd(lines[place.key]);
    return line.mid(line.indexOf('=') + 1);
}

QString read(const QString& path, const QString& section, const QString& key) {
    return CodePage1250::decode(readBytes(path, section, key));
}

Document::Document(const QString& path)
    : m_path(path) {
    try {
        m_lines = split(DurableFile::readIfExists(path));
    } catch (const FileError& e) {
        // Replacing a file that could not be read would lose what it holds.
        throw IniWriteError(path, e.reason());
    }
}

void Document::setBytes(const QString& section, const QString& key, const QByteArray& value) {
    Q_ASSERT(!value.contains('\r') && !value.contains('\n') && !value.contains('\0'));
    const Place place = find(m_lines, section, key);
    const QByteArray entry = CodePage1250::encode(key) + '=' + value + "\r\n";
    if (place.key >= 0) {
        m_lines[place.key] = entry;
    } else if (place.section >= 0) {
        m_lines[place.lastLine] = ended(m_lines[place.lastLine]);
        m_lines.insert(place.lastLine + 1, entry);
    } else {
        if (!m_lines.isEmpty())
            m_lines.last() = ended(m_lines.last());
        m_lines.append('[' + CodePage1250::encode(section) + "]\r\n");
        m_lines.append(entry);
    }
}

void Document::set(const QString& section, const QString& key, const QString& value) {
    setBytes(section, key, CodePage1250::encode(value));
}

void Document::remove(const QString& section, const QString& key) {
    const Place place = find(m_lines, section, key);
    if (place.key >= 0)
        m_lines.removeAt(place.key);
}

void Document::save(DurableFile::Access access) const {
    try {
        DurableFile::replace(m_path, m_lines.join(), access);
    } catch (const FileError& e) {
        throw IniWriteError(m_path, e.reason());
    }
}

void writeBytes(const QString& path, const QString& section, const QString& key,
                const QByteArray& value) {
    Document file(path);
    file.setBytes(section, key, value);
    file.save();
}

void write(const QString& path, const QString& section, const QString& key, const QString& value) {
    writeBytes(path, section, key, CodePage1250::encode(value));
}

void remove(const QString& path, const QString& section, const QString& key) {
    Document file(path);
    file.remove(section, key);
    file.save();
}

} // namespace veritam::IniFile
