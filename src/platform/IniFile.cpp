#include "platform/IniFile.h"

#include "platform/CodePage1250.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace veritam::IniFile {

namespace {

/// The file split into lines; each keeps its own line end, so that unchanged lines are
/// written back exactly as they were read.
QList<QByteArray> linesOf(const QString& path) {
    QFile file(path);
    QList<QByteArray> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray content = file.readAll();
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
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

void save(const QString& path, const QList<QByteArray>& lines) {
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IniWriteError(path);
    for (const QByteArray& line : lines)
        file.write(line);
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!file.commit())
        throw IniWriteError(path);
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

void writeBytes(const QString& path, const QString& section, const QString& key,
                const QByteArray& value) {
    Q_ASSERT(!value.contains('\r') && !value.contains('\n') && !value.contains('\0'));
    QList<QByteArray> lines = linesOf(path);
    const Place place = find(lines, section, key);
    const QByteArray entry = CodePage1250::encode(key) + '=' + value + "\r\n";
    if (place.key >= 0) {
        lines[place.key] = entry;
    } else if (place.section >= 0) {
        lines[place.lastLine] = ended(lines[place.lastLine]);
        lines.insert(place.lastLine + 1, entry);
    } else {
        if (!lines.isEmpty())
            lines.last() = ended(lines.last());
        lines.append('[' + CodePage1250::encode(section) + "]\r\n");
        lines.append(entry);
    }
    save(path, lines);
}

void write(const QString& path, const QString& section, const QString& key, const QString& value) {
    writeBytes(path, section, key, CodePage1250::encode(value));
}

void remove(const QString& path, const QString& section, const QString& key) {
    QList<QByteArray> lines = linesOf(path);
    const Place place = find(lines, section, key);
    if (place.key < 0)
        return;
    lines.removeAt(place.key);
    save(path, lines);
}

} // namespace veritam::IniFile
