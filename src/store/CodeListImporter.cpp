#include "store/CodeListImporter.h"

#include "platform/CodePage1250.h"
#include "store/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

namespace veritam {

namespace {

const QString kTerritories = QStringLiteral("UI_KATASTRALNI_UZEMI");
const QString kMunicipalities = QStringLiteral("UI_OBEC");
const QString kDistricts = QStringLiteral("UI_OKRES");
const QString kParts = QStringLiteral("UI_CAST_OBCE");

[[noreturn]] void fail(const QString& list, const QString& what) {
    throw CodeListError(QStringLiteral("Číselník %1.csv: %2").arg(list, what));
}

// Czech text in Windows-1250 is practically never valid UTF-8 with multi-byte sequences;
// a file that is, was converted on its way and would import as mojibake.
bool looksLikeUtf8(const QByteArray& bytes) {
    bool multiByte = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int length = 1;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0)
            length = 2;
        else if ((c & 0xF0) == 0xE0)
            length = 3;
        else if ((c & 0xF8) == 0xF0)
            length = 4;
        else
            return false;
        if (i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

/// One CSV file: its header and rows of fields; columns looked up by header name.
class CsvTable {
public:
    CsvTable(const QString& list, const QByteArray& bytes)
        : m_list(list) {
        if (bytes.isEmpty())
            fail(list, QStringLiteral("soubor je prázdný."));
        if (bytes.startsWith("\xEF\xBB\xBF") || looksLikeUtf8(bytes))
            fail(list, QStringLiteral("soubor není v kódování Windows-1250 (zřejmě je v UTF-8)."));
        if (bytes.contains('\0'))
            fail(list, QStringLiteral("soubor není textový."));
        QStringList lines = CodePage1250::decode(bytes).split(u'\n');
        for (QString& line : lines) {
            if (line.endsWith(u'\r'))
                line.chop(1);
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        if (lines.isEmpty())
            fail(list, QStringLiteral("soubor je prázdný."));
        m_header = lines.takeFirst().split(u';');
        for (QString& name : m_header)
            name = name.trimmed().toUpper();
        m_rows.reserve(lines.size());
        for (qsizetype n = 0; n < lines.size(); ++n) {
            QStringList fields = lines[n].split(u';');
            if (fields.size() != m_header.size())
                fail(list, QStringLiteral("řádek %1 má %2 polí místo %3 (soubor je zřejmě neúplný "
                                          "nebo poškozený).")
                               .arg(n + 2)
                               .arg(fields.size())
                               .arg(m_header.size()));
            m_rows.push_back(std::move(fields));
        }
    }

    int column(const char* name) const {
        const int index = static_cast<int>(m_header.indexOf(QString::fromLatin1(name)));
        if (index < 0)
            fail(m_list, QStringLiteral("chybí sloupec „%1“.").arg(QString::fromLatin1(name)));
        return index;
    }

    const std::vector<QStringList>& rows() const { return m_rows; }

    qint64 code(const QStringList& row, int column, qsizetype rowIndex) const {
        bool ok = false;
        const qint64 value = row[column].trimmed().toLongLong(&ok);
        if (!ok)
            fail(m_list, QStringLiteral("řádek %1: „%2“ není číselný kód.")
                             .arg(rowIndex + 2)
                             .arg(row[column]));
        return value;
    }

    /// Calls `take(row, index)` for every row still valid.
    template <typename F> void forEachValid(F take) const {
        const int validTo = column("PLATI_DO");
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (m_rows[i][validTo].trimmed().isEmpty())
                take(m_rows[i], static_cast<qsizetype>(i));
        }
    }

private:
    QString m_list;
    QStringList m_header;
    std::vector<QStringList> m_rows;
};

QByteArray fileOf(const QMap<QString, QByteArray>& files, const QString& list) {
    const auto it = files.find(list);
    if (it == files.end())
        fail(list, QStringLiteral("soubor chybí."));
    return it.value();
}

} // namespace

const QStringList& CodeListImporter::listNames() {
    static const QStringList names = {kTerritories, kMunicipalities, kDistricts, kParts};
    return names;
}

int CodeListImporter::Tables::municipalityCount() const {
    QSet<qint64> codes;
    for (const Territory& t : territories)
        codes.insert(t.obecKod);
    return static_cast<int>(codes.size());
}

CodeListImporter::Tables CodeListImporter::parse(const QMap<QString, QByteArray>& files) {
    const CsvTable districts(kDistricts, fileOf(files, kDistricts));
    QHash<qint64, QString> districtNames;
    {
        const int kod = districts.column("KOD");
        const int nazev = districts.column("NAZEV");
        districts.forEachValid([&](const QStringList& row, qsizetype i) {
            districtNames.insert(districts.code(row, kod, i), row[nazev]);
        });
    }

    struct Municipality {
        QString name;
        QString district;
    };
    const CsvTable municipalities(kMunicipalities, fileOf(files, kMunicipalities));
    QHash<qint64, Municipality> municipalityOf;
    {
        const int kod = municipalities.column("KOD");
        const int nazev = municipalities.column("NAZEV");
        const int okres = municipalities.column("OKRES_KOD");
        municipalities.forEachValid([&](const QStringList& row, qsizetype i) {
            const QString districtCode = row[okres].trimmed();
            const QString district = districtCode.isEmpty()
                                         ? QString()
                                         : districtNames.value(municipalities.code(row, okres, i));
            municipalityOf.insert(municipalities.code(row, kod, i), {row[nazev], district});
        });
    }

    Tables tables;
    const CsvTable territories(kTerritories, fileOf(files, kTerritories));
    {
        const int kod = territories.column("KOD");
        const int nazev = territories.column("NAZEV");
        const int obec = territories.column("OBEC_KOD");
        tables.territories.reserve(territories.rows().size());
        territories.forEachValid([&](const QStringList& row, qsizetype i) {
            const qint64 obecKod = territories.code(row, obec, i);
            const Municipality m = municipalityOf.value(obecKod);
            tables.territories.push_back(
                {territories.code(row, kod, i), row[nazev], obecKod, m.name, m.district});
        });
    }

    const CsvTable parts(kParts, fileOf(files, kParts));
    {
        const int kod = parts.column("KOD");
        const int nazev = parts.column("NAZEV");
        const int obec = parts.column("OBEC_KOD");
        tables.parts.reserve(parts.rows().size());
        parts.forEachValid([&](const QStringList& row, qsizetype i) {
            tables.parts.push_back({parts.code(row, kod, i), row[nazev], parts.code(row, obec, i)});
        });
    }
    if (tables.territories.empty())
        fail(kTerritories, QStringLiteral("neobsahuje žádné platné katastrální území."));
    return tables;
}

QMap<QString, QByteArray> CodeListImporter::readFolder(const QString& folder) {
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    if (!dir.exists())
        throw CodeListError(QStringLiteral("Složka %1 neexistuje.").arg(folder));
    for (const QString& list : listNames()) {
        QFile file(dir.filePath(list + QStringLiteral(".csv")));
        if (!file.open(QIODevice::ReadOnly))
            fail(list, QStringLiteral("soubor nelze přečíst ze složky %1 (%2).")
                           .arg(QDir::toNativeSeparators(folder), file.errorString()));
        files.insert(list, file.readAll());
    }
    return files;
}

void CodeListImporter::store(SqliteConnection& connection, const Tables& tables) {
    SqliteTransaction transaction(connection);
    connection.exec(QStringLiteral("DELETE FROM kat_uzemi_obce; DELETE FROM kat_casti_obce"));
    {
        SqliteStatement insert(connection,
                               QStringLiteral("INSERT INTO kat_uzemi_obce (ku_kod, ku_nazev, "
                                              "obec_kod, obec_nazev, okres_nazev) VALUES "
                                              "(?, ?, ?, ?, ?)"));
        for (const Territory& t : tables.territories) {
            insert.bind(1, t.kuKod);
            insert.bind(2, t.kuNazev);
            insert.bind(3, t.obecKod);
            insert.bind(4, t.obecNazev);
            insert.bind(5, t.okresNazev);
            insert.run();
        }
    }
    {
        SqliteStatement insert(
            connection,
            QStringLiteral("INSERT INTO kat_casti_obce (kod, nazev, obec_kod) VALUES (?, ?, ?)"));
        for (const Part& p : tables.parts) {
            insert.bind(1, p.kod);
            insert.bind(2, p.nazev);
            insert.bind(3, p.obecKod);
            insert.run();
        }
    }
    transaction.commit();
}

CodeListImporter::Tables CodeListImporter::install(SqliteConnection& connection,
                                                   const QMap<QString, QByteArray>& files) {
    Tables tables = parse(files);
    store(connection, tables);
    return tables;
}

QString CodeListImporter::summary(const Tables& tables) {
    return QStringLiteral("Načteno %1 katastrálních území v %2 obcích a %3 částí obcí.")
        .arg(tables.territories.size())
        .arg(tables.municipalityCount())
        .arg(tables.parts.size());
}

} // namespace veritam
