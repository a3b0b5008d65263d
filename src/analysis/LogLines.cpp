#include "analysis/LogLines.h"

#include "analysis/ChangeRecorder.h"
#include "store/RecordKind.h"
#include "store/WatchedRecord.h"

#include <QRegularExpression>

namespace veritam::LogLines {

namespace {

const QString kFailureStart = QStringLiteral("\r\n********* CHYBA !!! ***********\r\n- ");
const QString kFailureEnd = QStringLiteral(". Prosím zkontrolujte vstupní data. \r\n");

/// A value as part of one line: a line break or another control character in a name
/// would start a forged line of its own.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = u' ';
    return text;
}

/// The parcel's designation: "st. " for a building parcel, the number, and `slash` with the
/// subdivision when it has one.
QString designation(const WatchedRecord& record, const QString& slash) {
    QString number = record.value(QStringLiteral("druh_cislovani")) == QLatin1String("1")
                         ? QStringLiteral("st. ")
                         : QString();
    number += record.value(QStringLiteral("cislo_1"));
    if (const QString subdivision = record.value(QStringLiteral("cislo_2")); !subdivision.isEmpty())
        number += slash + subdivision;
    return number;
}

/// A line template of the kind table with the record's values put in.
QString fill(const QString& line, const WatchedRecord& record) {
    static const QRegularExpression placeholder(QStringLiteral("\\{(\\w+)\\}"));
    QString result;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += line.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        result +=
            oneLine(name == QLatin1String("label")    ? parcelLabel(record)
                    : name == QLatin1String("number") ? designation(record, QStringLiteral("/"))
                    : name == QLatin1String("nazev")  ? record.name
                                                      : record.value(name));
        from = m.capturedEnd();
    }
    return result + line.mid(from);
}

} // namespace

QString description(const WatchedRecord& record, bool withPlace) {
    const KindTable& k = kindTable(record.kind);
    return fill(withPlace ? k.description + k.place : k.description, record);
}

QString parcelLabel(const WatchedRecord& record) {
    return designation(record, QStringLiteral(" / "));
}

QString runStarted() {
    return QStringLiteral("Zahájena kontrola");
}

QString visiting(const WatchedRecord& record) {
    return fill(kindTable(record.kind).visitingLine, record);
}

QString pageLoaded() {
    return QStringLiteral("Načteno ze serveru, zpracovávám data.");
}

QString failure(const WatchedRecord& record) {
    return kFailureStart + fill(kindTable(record.kind).failureRecord, record) + kFailureEnd;
}

QString failure(const WatchedRecord& record, const QString& cause) {
    return failure(record) + QStringLiteral("Příčina: ") + cause + QStringLiteral("\r\n");
}

QString unrecorded(const WatchedRecord& record, const QString& why) {
    return kFailureStart + fill(kindTable(record.kind).failureRecord, record) +
           QStringLiteral(". ") + why + QStringLiteral("\r\n");
}

QString runEnded() {
    return QStringLiteral("KONTROLA SKONČILA");
}

QString runInterrupted(int checked) {
    return QStringLiteral("KONTROLA PŘERUŠENA, zkontrolované záznamy: %1").arg(checked);
}

QString runRefused(const QString& why) {
    return QStringLiteral("KONTROLA UKONČENA: ") + why;
}

QString proceedings(const Comparison& comparison) {
    QStringList parts;
    for (const QString& number : comparison.proceedingsAdded)
        parts.append(QStringLiteral("nové řízení ") + number);
    for (const QString& number : comparison.proceedingsRemoved)
        parts.append(QStringLiteral("skončené řízení ") + number);
    return parts.join(QStringLiteral(", "));
}

QString changes(const Comparison& comparison) {
    QStringList sections;
    for (Section s : comparison.changed)
        if (s != Section::Proceedings)
            sections.append(sectionRow(s).listWord);
    if (comparison.has(Section::Proceedings))
        sections.append(proceedings(comparison));
    return sections.join(QStringLiteral(", "));
}

QString summary(const WatchedRecord& record, const Comparison& comparison) {
    const QString line = fill(kindTable(record.kind).summaryLine, record);
    const QString what = changes(comparison);
    return what.isEmpty() ? line : line + QStringLiteral(": ") + what;
}

QString notification(const WatchedRecord& record, const Comparison& comparison) {
    QString name = description(record);
    if (!record.name.isEmpty())
        name += u' ' + oneLine(record.name);
    return name + QStringLiteral(": ") + changes(comparison);
}

QString history(RecordKind kind, const QString& id, const QString& nazev,
                const QString& snapshotPath) {
    const KindTable& k = kindTable(kind);
    return oneLine(k.changeLogFirst + id + k.changeLogSecond + nazev +
                   QStringLiteral(", cesta k souboru je: ") + snapshotPath);
}

} // namespace veritam::LogLines
