#include "entry/RecordImport.h"

#include "analysis/LogLines.h"
#include "entry/FirstBaseline.h"
#include "platform/DurableFile.h"
#include "platform/UserMessages.h"
#include "portal/PortalSettings.h"
#include "store/DatabaseError.h"
#include "store/Dataset.h"
#include "store/RecordEditorPort.h"
#include "store/RecordKind.h"
#include "store/RecordValues.h"
#include "store/TDM1.h"
#include "store/WatchedRecord.h"

#include <QEventLoop>
#include <QTimer>

#include <optional>
#include <variant>

namespace veritam {

namespace {

/// What the record rules say of a row, kept for its line instead of shown.
class RowMessages : public UserMessages {
public:
    void showMessage(const QString& text) override { last = text; }
    void showError(const QString& text) override { last = text; }
    QString last;
};

/// One line of the file split at the separator; a field in double quotes may hold the
/// separator, and "" in it stands for one quote.
QStringList splitLine(const QString& line, QChar separator) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

std::optional<RecordKind> kindOf(const QString& druh) {
    for (RecordKind kind : kAllRecordKinds)
        if (druh.trimmed().toLower() == kindTable(kind).word)
            return kind;
    return std::nullopt;
}

QString describe(RecordKind kind, const RecordImport::Row& row) {
    WatchedRecord record;
    record.kind = kind;
    for (const QString& column : kindTable(kind).searchColumns)
        record.search[column] = row.value(column);
    return LogLines::description(record, true);
}

std::optional<bool> yesNo(const QString& text) {
    const QString t = text.trimmed().toLower();
    for (const char* yes : {"1", "ano", "a", "true"})
        if (t == QLatin1String(yes))
            return true;
    for (const char* no : {"0", "ne", "n", "false"})
        if (t == QLatin1String(no))
            return false;
    return std::nullopt;
}

/// Makes the code-list row with this code current; false when none. A list narrowed by a
/// name is shown whole first; one narrowed by the place before it already is.
bool pick(TDM1& dm, Dataset& list, const QString& field, const QString& code) {
    const QString byName = QStringLiteral("par_nazev");
    if (!list.param(byName).isNull() && list.param(byName).toString() != QLatin1String("%")) {
        list.setParam(byName, QStringLiteral("%"));
        dm.Obnovit_Query(list);
    }
    return !code.isEmpty() && list.locate(field, code);
}

/// "{value}" and the row's "{column}"s in a message.
QString filled(QString text, const QString& value, const RecordImport::Row& row) {
    text.replace(QStringLiteral("{value}"), value);
    for (const auto& [column, cell] : row.cells)
        text.replace(u'{' + column + u'}', cell);
    return text;
}

/// Saves one row through the record rules; the saved record's ID, or why it was refused.
std::variant<int, QString> save(TDM1& dm, RowMessages& messages, RecordKind kind,
                                const RecordImport::Row& row) {
    // The rules copy whichever code-list row is current: it must be the row's own.
    const KindTable& table = kindTable(kind);
    for (const PlaceColumn& place : table.places) {
        const QString code = row.value(place.column);
        if (!pick(dm, dm.*place.list, place.code, code))
            return code.isEmpty()
                       ? QStringLiteral("Vyberte %1 (sloupec %2).").arg(place.noun, place.column)
                       : filled(place.unknown, code, row);
    }
    static const QStringList places = {QStringLiteral("druh"), QStringLiteral("uzemi"),
                                       QStringLiteral("obec"), QStringLiteral("cast_obce")};
    Dataset& q = dm.recordQuery(kind);
    q.insert();
    dm.Rules.newRecordInserted(kind) = false; // the import, not the editor, handles the save
    try {
        for (const auto& [column, value] : row.cells) {
            if (places.contains(column))
                continue;
            if (!q.hasField(column))
                throw DatabaseError(
                    QStringLiteral("Sloupec %1 se u tohoto druhu nepoužívá.").arg(column));
            if (column == QLatin1String("kontrolovat")) {
                const std::optional<bool> check = yesNo(value);
                if (!check)
                    throw DatabaseError(
                        QStringLiteral("Sloupec kontrolovat: „%1“ není ano ani ne.").arg(value));
                q.setValue(column, *check);
            } else {
                // The editor's rule for each value: what it would refuse, the import refuses.
                const RecordValues::Reading reading = RecordValues::read(kind, column, value, q);
                if (!reading.refused.isEmpty())
                    throw DatabaseError(reading.refused);
                q.setValue(column, reading.value);
            }
        }
        messages.last.clear();
        q.post();
    } catch (const SilentAbort&) {
        q.cancel();
        return messages.last;
    } catch (const DatabaseError& e) {
        if (q.isEditing())
            q.cancel();
        return e.message();
    }
    return dm.GetMaxId(kindTable(kind).recordTable, QStringLiteral("ID")).toInt();
}

void pauseFor(std::chrono::seconds pause) {
    if (pause.count() <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(pause, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

QString RecordImport::Row::value(const QString& column) const {
    for (const auto& [c, v] : cells)
        if (c == column)
            return v;
    return {};
}

QStringList RecordImport::recordColumns() {
    return {QStringLiteral("uzemi"),          QStringLiteral("typ_parcely"),
            QStringLiteral("puvod_parcely"),  QStringLiteral("druh_cislovani"),
            QStringLiteral("cislo_1"),        QStringLiteral("cislo_2"),
            QStringLiteral("obec"),           QStringLiteral("cast_obce"),
            QStringLiteral("typ_stavby"),     QStringLiteral("cislo_stavby"),
            QStringLiteral("cislo_jednotky"), QStringLiteral("nazev"),
            QStringLiteral("kontrolovat")};
}

RecordImport RecordImport::read(const QString& path) {
    QString text;
    try {
        text = QString::fromUtf8(DurableFile::read(path));
    } catch (const FileError& e) {
        throw ImportError(e.message());
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    qsizetype headerLine = 0;
    while (headerLine < lines.size() && lines[headerLine].trimmed().isEmpty())
        ++headerLine;
    if (headerLine == lines.size())
        throw ImportError(QStringLiteral("Soubor %1 je prázdný.").arg(path));
    const QString header = lines[headerLine];
    const QChar separator = header.contains(u';') ? u';' : u',';
    QStringList columns = splitLine(header, separator);
    for (QString& c : columns)
        c = c.trimmed().toLower();
    if (!columns.contains(QStringLiteral("druh")))
        throw ImportError(QStringLiteral("Záhlaví souboru %1 neuvádí sloupec druh "
                                         "(parcela, stavba, jednotka).")
                              .arg(path));
    const QStringList known = recordColumns();
    for (const QString& c : columns) {
        if (c != QLatin1String("druh") && !known.contains(c))
            throw ImportError(QStringLiteral("Záhlaví souboru %1 uvádí neznámý sloupec „%2“. "
                                             "Známé sloupce: druh, %3.")
                                  .arg(path, c, known.join(QStringLiteral(", "))));
        if (columns.count(c) > 1)
            throw ImportError(
                QStringLiteral("Záhlaví souboru %1 uvádí sloupec %2 dvakrát.").arg(path, c));
    }
    RecordImport import;
    for (qsizetype i = headerLine + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList fields = splitLine(lines[i], separator);
        Row row;
        row.line = static_cast<int>(i) + 1;
        for (qsizetype c = 0; c < columns.size() && c < fields.size(); ++c)
            if (!fields[c].trimmed().isEmpty())
                row.cells.emplace_back(columns[c], fields[c].trimmed());
        import.m_rows.push_back(std::move(row));
    }
    return import;
}

RecordImport::Summary RecordImport::run(const QString& dataFolder, PortalSession& session,
                                        const Progress& progress) const {
    RowMessages messages;
    NoRecordEditor editor;
    TDM1 dm(messages, editor);
    try {
        dm.DataModuleCreate(dataFolder);
    } catch (const DatabaseError& e) {
        throw ImportError(e.message());
    }
    if (!dm.Parcely_Query.isOpen())
        throw ImportError(QStringLiteral("Databázi v %1 nelze otevřít.").arg(dataFolder));
    const std::chrono::seconds pause = PortalSettings::load(dataFolder).pause;
    Summary summary;
    int lookups = 0;
    for (const Row& row : m_rows) {
        Outcome o;
        o.line = row.line;
        const std::optional<RecordKind> kind = kindOf(row.value(QStringLiteral("druh")));
        if (!kind) {
            o.why = QStringLiteral("Neznámý druh „%1“ (parcela, stavba, jednotka).")
                        .arg(row.value(QStringLiteral("druh")));
        } else {
            o.record = describe(*kind, row);
            const std::variant<int, QString> saved = save(dm, messages, *kind, row);
            if (const QString* why = std::get_if<QString>(&saved)) {
                o.why = *why;
            } else if (!summary.portalRefusal.isEmpty()) {
                o.result = Outcome::Result::SavedWithout;
                o.why = QStringLiteral("portál odmítl dřívější dotaz");
            } else {
                if (lookups++ > 0)
                    pauseFor(pause); // a person's pace, as in a check run
                o.result = Outcome::Result::SavedWithout;
                try {
                    const FirstBaseline baseline =
                        StoreFirstBaseline(dm, session, *kind, std::get<int>(saved));
                    o.why = baseline.why;
                    if (baseline.result == FirstBaseline::Result::Stored)
                        o.result = Outcome::Result::Baseline;
                    if (baseline.result == FirstBaseline::Result::Refused)
                        summary.portalRefusal =
                            o.why.isEmpty()
                                ? QStringLiteral("Chybí přihlašovací údaje k účtu na portálu.")
                                : o.why;
                } catch (const std::exception& e) {
                    o.why = errorText(e);
                }
            }
        }
        switch (o.result) {
        case Outcome::Result::Baseline:
            ++summary.baselines;
            break;
        case Outcome::Result::SavedWithout:
            ++summary.without;
            break;
        case Outcome::Result::Refused:
            ++summary.refused;
            break;
        }
        summary.rows.push_back(o);
        if (progress &&
            !progress(o, static_cast<int>(summary.rows.size()), static_cast<int>(m_rows.size()))) {
            summary.stopped = true;
            break;
        }
    }
    return summary;
}

QString RecordImport::Outcome::text() const {
    const QString head = record.isEmpty() ? QStringLiteral("Řádek %1").arg(line)
                                          : QStringLiteral("Řádek %1 (%2)").arg(line).arg(record);
    switch (result) {
    case Result::Baseline:
        return head + QStringLiteral(": uloženo s výchozím stavem.");
    case Result::SavedWithout:
        return head + QStringLiteral(": uloženo bez výchozího stavu – %1 Výchozí stav se "
                                     "zaznamená při příští kontrole.")
                          .arg(why.isEmpty() ? QStringLiteral("portál nebyl dotázán.") : why);
    case Result::Refused:
        break;
    }
    return head + QStringLiteral(": odmítnuto – %1").arg(why);
}

QString RecordImport::Summary::refusalText() const {
    return portalRefusal.isEmpty()
               ? QString()
               : QStringLiteral("Portál odmítl, další záznamy se na něm nehledaly: ") +
                     portalRefusal;
}

QString RecordImport::Summary::text() const {
    return QStringLiteral("Celkem řádků: %1; uloženo s výchozím stavem: %2, bez výchozího stavu: "
                          "%3, odmítnuto: %4.%5")
        .arg(rows.size())
        .arg(baselines)
        .arg(without)
        .arg(refused)
        .arg(stopped ? QStringLiteral(" Import byl přerušen.") : QString());
}

} // namespace veritam
