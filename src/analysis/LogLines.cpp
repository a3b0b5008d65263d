#include "analysis/LogLines.h"

#include "store/Dataset.h"
#include "store/RecordKind.h"

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

/// A line template of the kind table with the row's values put in.
QString fill(const QString& line, const Dataset& row) {
    static const QRegularExpression placeholder(QStringLiteral("\\{(\\w+)\\}"));
    QString result;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += line.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        result += oneLine(name == QLatin1String("label") ? parcelLabel(row) : row.text(name));
        from = m.capturedEnd();
    }
    return result + line.mid(from);
}

} // namespace

QString parcelLabel(const Dataset& row) {
    QString label = row.text(QStringLiteral("druh_cislovani")) == QLatin1String("1")
                        ? QStringLiteral("st. ")
                        : QString();
    label += row.text(QStringLiteral("cislo_1"));
    const QString subdivision = row.text(QStringLiteral("cislo_2"));
    if (!subdivision.isEmpty())
        label += QStringLiteral(" / ") + subdivision;
    return label;
}

QString runStarted() {
    return QStringLiteral("Zahájena kontrola");
}

QString visiting(RecordKind kind, const Dataset& row) {
    return fill(kindTable(kind).visitingLine, row);
}

QString pageLoaded() {
    return QStringLiteral("Načteno ze serveru, zpracovávám data.");
}

QString failure(RecordKind kind, const Dataset& row) {
    return kFailureStart + fill(kindTable(kind).failureRecord, row) + kFailureEnd;
}

QString failure(RecordKind kind, const Dataset& row, const QString& cause) {
    return failure(kind, row) + QStringLiteral("Příčina: ") + cause + QStringLiteral("\r\n");
}

QString unrecorded(RecordKind kind, const Dataset& row, const QString& why) {
    return kFailureStart + fill(kindTable(kind).failureRecord, row) + QStringLiteral(". ") + why +
           QStringLiteral("\r\n");
}

QString runEnded() {
    return QStringLiteral("KONTROLA SKONČILA");
}

QString runRefused(const QString& why) {
    return QStringLiteral("KONTROLA UKONČENA: ") + why;
}

QString summary(RecordKind kind, const Dataset& row) {
    return fill(kindTable(kind).summaryLine, row);
}

QString notification(RecordKind kind, const Dataset& row) {
    static const char* const sectionWords[] = {"výměra",  "podíl",   "vlastníci",
                                               "ochrana", "omezení", "jiné zápisy"};
    QString record;
    switch (kind) {
    case RecordKind::Parcel:
        record = QStringLiteral("parcela ") + parcelLabel(row);
        break;
    case RecordKind::Building:
        record = QStringLiteral("stavba ") + row.text(QStringLiteral("cislo_stavby"));
        break;
    case RecordKind::Unit:
        record = QStringLiteral("jednotka %1/%2")
                     .arg(row.text(QStringLiteral("cislo_stavby")),
                          row.text(QStringLiteral("cislo_jednotky")));
        break;
    }
    const QString name = row.text(QStringLiteral("nazev"));
    if (!name.isEmpty())
        record += u' ' + name;
    QStringList sections;
    for (Section s : kindTable(kind).compared)
        if (row.yesNo(sectionColumns(s).flag))
            sections.append(QString::fromUtf8(sectionWords[static_cast<int>(s)]));
    return oneLine(record + QStringLiteral(": ") + sections.join(QStringLiteral(", ")));
}

QString history(RecordKind kind, const QString& id, const QString& nazev,
                const QString& snapshotPath) {
    const KindTable& k = kindTable(kind);
    return oneLine(k.changeLogFirst + id + k.changeLogSecond + nazev +
                   QStringLiteral(", cesta k souboru je: ") + snapshotPath);
}

} // namespace veritam::LogLines
