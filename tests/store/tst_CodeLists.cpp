// Importing the authority's code lists: the real files, and bad input that must leave the
// previous lists in place.
#include "TestSupport.h"

#include "platform/CodePage1250.h"
#include "store/CodeListImporter.h"
#include "store/DatabaseError.h"

#include <QtTest>

using namespace veritam;
using namespace veritam::test;

using Files = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(Files)

namespace {

const Files& fixtureFiles() {
    static const Files files = CodeListImporter::readFolder(fixtureCodeListFolder());
    return files;
}

int territoryCount(StoreFixture& s) {
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_uzemi_obce")).toInt();
}

} // namespace

class TestCodeLists : public QObject {
    Q_OBJECT
private slots:
    void importsTheAuthorityFiles();
    void replacesWhatWasThere();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void failedStoreKeepsPreviousLists();
};

void TestCodeLists::importsTheAuthorityFiles() {
    REQUIRE_NATIONAL_CODE_LISTS();
    const Files national = CodeListImporter::readFolder(nationalCodeListFolder());
    StoreFixture s(false);
    const auto tables = CodeListImporter::install(s.dm.ADOConnection, national);
    QCOMPARE(tables.territories.size(), std::size_t(13084));
    QCOMPARE(tables.municipalityCount(), 6257);
    QCOMPARE(tables.parts.size(), std::size_t(15104));
    QCOMPARE(CodeListImporter::summary(tables),
             QStringLiteral("Načteno 13084 katastrálních území v 6257 obcích a 15104 částí obcí."));
    auto row =
        s.dm.OpenStatement(QStringLiteral("SELECT * FROM kat_uzemi_obce WHERE ku_kod = 774871"));
    QCOMPARE(row->text(QStringLiteral("ku_nazev")), QStringLiteral("Ústí nad Labem"));
    QCOMPARE(row->integer(QStringLiteral("obec_kod")), 554804);
    QCOMPARE(row->text(QStringLiteral("obec_nazev")), QStringLiteral("Ústí nad Labem"));
    QCOMPARE(row->text(QStringLiteral("okres_nazev")), QStringLiteral("Ústí nad Labem"));
    // Rows no longer valid (PLATI_DO set) are left out.
    const int all =
        static_cast<int>(national[QStringLiteral("UI_KATASTRALNI_UZEMI")].count('\n')) - 1;
    QVERIFY(all > 13084);
}

void TestCodeLists::replacesWhatWasThere() {
    StoreFixture s;
    // The fixture's row whose PLATI_DO is set was left out.
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_uzemi_obce WHERE ku_kod = 716456"))
                 .toInt(),
             0);
    Files files = fixtureFiles();
    QByteArray& territories = files[QStringLiteral("UI_KATASTRALNI_UZEMI")];
    // Header and the first three rows only.
    qsizetype end = 0;
    for (int line = 0; line < 4; ++line)
        end = territories.indexOf('\n', end) + 1;
    territories.truncate(end);
    CodeListImporter::install(s.dm.ADOConnection, files);
    QVERIFY(territoryCount(s) <= 3);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_casti_obce")).toInt(),
             kFixtureParts);
}

void TestCodeLists::badInputChangesNothing_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("message");
    const QString obec = QStringLiteral("UI_OBEC");
    const QString okres = QStringLiteral("UI_OKRES");
    const QString casti = QStringLiteral("UI_CAST_OBCE");
    const QString uzemi = QStringLiteral("UI_KATASTRALNI_UZEMI");

    Files missingColumn = fixtureFiles();
    missingColumn[obec].replace("KOD;NAZEV;", "KOD;JMENO;");
    QTest::newRow("missing column")
        << missingColumn << "Číselník UI_OBEC.csv: chybí sloupec „NAZEV“.";

    Files utf8 = fixtureFiles();
    utf8[okres] = CodePage1250::decode(utf8[okres]).toUtf8();
    QTest::newRow("UTF-8 instead of Windows-1250")
        << utf8
        << "Číselník UI_OKRES.csv: soubor není v kódování Windows-1250 (zřejmě je v UTF-8).";

    Files truncated = fixtureFiles();
    truncated[casti].truncate(truncated[casti].indexOf(';', truncated[casti].size() / 2));
    QTest::newRow("truncated") << truncated << "Číselník UI_CAST_OBCE.csv: řádek";

    Files missingFile = fixtureFiles();
    missingFile.remove(okres);
    QTest::newRow("missing file") << missingFile << "Číselník UI_OKRES.csv: soubor chybí.";

    Files badCode = fixtureFiles();
    badCode[uzemi].replace("\r\n6", "\r\nx6");
    QTest::newRow("code not a number") << badCode << "Číselník UI_KATASTRALNI_UZEMI.csv: řádek";

    Files empty = fixtureFiles();
    empty[uzemi].clear();
    QTest::newRow("empty") << empty << "Číselník UI_KATASTRALNI_UZEMI.csv: soubor je prázdný.";
}

void TestCodeLists::badInputChangesNothing() {
    QFETCH(Files, files);
    QFETCH(QString, message);
    StoreFixture s;
    try {
        CodeListImporter::install(s.dm.ADOConnection, files);
        QFAIL("bad input was accepted");
    } catch (const CodeListError& e) {
        QVERIFY2(e.message().startsWith(message), qPrintable(e.message()));
    }
    QCOMPARE(territoryCount(s), kFixtureTerritories);
}

void TestCodeLists::failedStoreKeepsPreviousLists() {
    StoreFixture s;
    s.dm.ADOConnection.exec(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON kat_casti_obce "
                                           "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             CodeListImporter::install(s.dm.ADOConnection, fixtureFiles()));
    QCOMPARE(territoryCount(s), kFixtureTerritories);
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM kat_casti_obce")).toInt(),
             kFixtureParts);
}

QTEST_MAIN(TestCodeLists)
#include "tst_CodeLists.moc"
