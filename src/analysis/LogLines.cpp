#include "analysis/LogLines.h"

#include "analysis/KindSections.h"
#include "store/Dataset.h"

namespace veritam::LogLines {

namespace {

QString text(const Dataset& row, const char* field) {
    return row.text(QString::fromLatin1(field));
}

const QString kFailureStart = QStringLiteral("\r\n********* CHYBA !!! ***********\r\n- ");
const QString kFailureEnd = QStringLiteral(". Prosím zkontrolujte vstupní data. \r\n");

} // namespace

QString parcelLabel(const Dataset& row) {
    QString label =
        text(row, "druh_cislovani") == QLatin1String("1") ? QStringLiteral("st. ") : QString();
    label += text(row, "cislo_1");
    if (!text(row, "cislo_2").isEmpty())
        label += QStringLiteral(" / ") + text(row, "cislo_2");
    return label;
}

QString runStarted() {
    return QStringLiteral("Zahájena kontrola");
}

QString visiting(RecordKind kind, const Dataset& row) {
    switch (kind) {
    case RecordKind::Parcel:
        return QStringLiteral("Procházím parcelu č. ") + parcelLabel(row);
    case RecordKind::Building:
        return QStringLiteral("Procházím stavbu č. ") + text(row, "cislo_stavby");
    case RecordKind::Unit:
        break;
    }
    return QStringLiteral("Procházím jednotku č. ") + text(row, "cislo_stavby") + u'/' +
           text(row, "cislo_jednotky");
}

QString pageLoaded() {
    return QStringLiteral("Načteno ze serveru, zpracovávám data.");
}

QString failure(RecordKind kind, const Dataset& row) {
    switch (kind) {
    case RecordKind::Parcel:
        return kFailureStart + QStringLiteral("parcela č. ") + text(row, "cislo_1") +
               QStringLiteral(" / ") + text(row, "cislo_2") + kFailureEnd;
    case RecordKind::Building:
        return kFailureStart + QStringLiteral("stavba vlastní označení ") + text(row, "nazev") +
               kFailureEnd;
    case RecordKind::Unit:
        break;
    }
    return kFailureStart + QStringLiteral("jednotka vlastní označení ") + text(row, "nazev") +
           kFailureEnd;
}

QString runEnded() {
    return QStringLiteral("KONTROLA SKONČILA");
}

QString summary(RecordKind kind, const Dataset& row) {
    const QString own = QStringLiteral(", vlastní označení ") + text(row, "nazev");
    switch (kind) {
    case RecordKind::Parcel:
        return QStringLiteral("Změna u parcely p. č. ") + parcelLabel(row) + own;
    case RecordKind::Building:
        return QStringLiteral("Změna u stavby ") + text(row, "cislo_stavby") + own;
    case RecordKind::Unit:
        break;
    }
    return QStringLiteral("Změna u jednotky ") + text(row, "cislo_jednotky") + own;
}

QString history(RecordKind kind, const QString& id, const QString& nazev,
                const QString& snapshotPath) {
    const KindSections& k = kindSections(kind);
    return k.logFirst + id + k.logSecond + nazev + QStringLiteral(", cesta k souboru je: ") +
           snapshotPath;
}

} // namespace veritam::LogLines
