#include "app/ConsoleCommands.h"

#include "analysis/Fingerprint.h"
#include "analysis/PageIdentity.h"
#include "analysis/ParsedPage.h"
#include "analysis/SectionDiff.h"
#include "analysis/SectionExtractor.h"
#include "app/CommandLine.h"
#include "app/FirstStart.h"
#include "app/GuiMessages.h"
#include "app/ProcessSettings.h"
#include "app/SingleInstance.h"
#include "platform/DataFolder.h"
#include "platform/DurableFile.h"
#include "settings/DailySchedule.h"
#include "store/CodeListImporter.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace veritam::ConsoleCommands {

namespace {

const char* const kUsage =
    "Použití: veritam [PŘEPÍNAČE]\n"
    "Sleduje nemovitosti v katastru nemovitostí a zaznamenává jejich změny.\n"
    "\n"
    "  --autoload               po spuštění zkontroluje všechny sledované nemovitosti\n"
    "  --headless               s --autoload: kontrola bez oken; řádky průběhu a změn\n"
    "                           na výstup, hlášení na chybový výstup. Návratový kód:\n"
    "                           0  vše zkontrolováno, žádná změna\n"
    "                           1  zaznamenána aspoň jedna změna\n"
    "                           2  kontrolu nelze spustit (databáze)\n"
    "                           3  portál odmítl (přihlášení, nedostupnost, ochrana\n"
    "                              proti přetížení) a kontrola skončila předčasně;\n"
    "                              má přednost před 1\n"
    "                           4  změnu nebo výsledek kontroly se nepodařilo\n"
    "                              zaznamenat (plný disk, databázi nelze zapsat);\n"
    "                              příští kontrola je najde znovu; má přednost\n"
    "                              před 1 a 3\n"
    "                           Záznamy, které selhaly (nenalezeno, chyba serveru),\n"
    "                           kód nemění; jejich počet je na chybovém výstupu.\n"
    "  --files SLOŽKA           datová složka (jinak ~/.local/share/Veritam/); vstupy\n"
    "                           bez okna skončí s kódem 2, když neexistuje\n"
    "  --import-records SOUBOR  načte seznam sledovaných nemovitostí ze souboru CSV\n"
    "                           (UTF-8, oddělovač ; nebo ,; záhlaví se sloupcem druh =\n"
    "                           parcela, stavba, jednotka a sloupci uzemi, typ_parcely,\n"
    "                           puvod_parcely, druh_cislovani, cislo_1, cislo_2, obec,\n"
    "                           cast_obce, typ_stavby, cislo_stavby, cislo_jednotky,\n"
    "                           nazev, kontrolovat), každý záznam vyhledá na portálu\n"
    "                           a uloží jeho výchozí stav. Návratový kód: 0 vše uloženo\n"
    "                           s výchozím stavem, 1 některé řádky odmítnuty nebo bez\n"
    "                           výchozího stavu, 2 nelze začít (nic neuloženo),\n"
    "                           3 portál odmítl\n"
    "  --import-codelists SLOŽKA\n"
    "                           načte číselníky UI_KATASTRALNI_UZEMI.csv, UI_OBEC.csv,\n"
    "                           UI_OKRES.csv a UI_CAST_OBCE.csv ze složky a skončí\n"
    "  --extract SOUBOR         vypíše oddíly uložené stránky (UTF-8) s čísly\n"
    "                           probíhajících řízení (rizeni), jejich otisky a údaje,\n"
    "                           které by z ní převzalo uložení záznamu (identity),\n"
    "                           jako JSON\n"
    "  --diff STARÝ NOVÝ        vypíše, čím se liší oddíly dvou uložených stránek\n"
    "                           (snímků), jako JSON; návratový kód 0 beze změny,\n"
    "                           1 změna, 2 soubor chybí nebo není stránkou nemovitosti\n"
    "  --schedule HH:MM         naplánuje denní automatickou kontrolu (časovač systemd\n"
    "                           uživatele; s --files i pro tuto datovou složku)\n"
    "  --schedule off           zruší ji\n"
    "  --schedule               vypíše, kdy proběhne a jak dopadla\n"
    "  --help                   vypíše tuto nápovědu\n"
    "  --version                vypíše verzi programu\n"
    "\n"
    "Přepínače lze psát s -, / nebo -- a bez ohledu na velikost písmen. Neznámý\n"
    "přepínač ukončí program s kódem 2. VERITAM_DEBUG=1 v prostředí: vstupy bez okna\n"
    "vypisují i hlášení Qt a prohlížeče.\n";

/// Prints the sections of a saved page and the fingerprints as one JSON object.
int extract(const CommandLine& commandLine) {
    const QString path = commandLine.argumentOf(QStringLiteral("extract")).value_or(QString());
    if (path.isEmpty()) {
        printConsoleLine(stderr, QStringLiteral("Chybí soubor se stránkou: --extract SOUBOR"));
        return 2;
    }
    QByteArray markup;
    try {
        markup = DurableFile::read(path);
    } catch (const FileError& e) {
        printConsoleLine(stderr, e.message());
        return 2;
    }
    const ParsedPage page(QString::fromUtf8(markup));
    TParseKatastr sections;
    try {
        sections = ExtractSections(page);
    } catch (const AnalysisError& e) {
        printConsoleLine(stderr, e.message());
        return 1;
    }
    QJsonObject result;
    QJsonObject fingerprints;
    for (const SectionRow& row : sectionTable()) {
        result.insert(row.name, sections[row.section]);
        if (row.fingerprinted)
            fingerprints.insert(row.name, Fingerprint(sections[row.section]));
    }
    result.insert(QStringLiteral("fingerprints"), fingerprints);
    // What capture would write into a new record of each kind from this page.
    const auto object = [](const PageIdentity::Fields& fields) {
        QJsonObject o;
        for (const auto& [column, value] : fields)
            o.insert(column, value);
        return o;
    };
    result.insert(
        QStringLiteral("identity"),
        QJsonObject{{QStringLiteral("parcela"), object(PageIdentity::parcel(page).fields())},
                    {QStringLiteral("stavba"), object(PageIdentity::building(page).fields())},
                    {QStringLiteral("jednotka"), object(PageIdentity::unit(page).fields())}});
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

/// Prints what differs between two saved pages as one JSON object; 1 when anything does.
int diff(const CommandLine& commandLine) {
    const QStringList paths =
        commandLine.argumentsOf(QStringLiteral("diff"), 2).value_or(QStringList());
    if (paths.size() != 2) {
        printConsoleLine(stderr, QStringLiteral("Chybí soubory: --diff STARÝ.html NOVÝ.html"));
        return 2;
    }
    TParseKatastr pages[2];
    for (int i = 0; i < 2; ++i) {
        QByteArray snapshot;
        try {
            snapshot = DurableFile::read(paths[i]);
        } catch (const FileError& e) {
            printConsoleLine(stderr, e.message());
            return 2;
        }
        const std::optional<TParseKatastr> sections = SectionDiff::readSnapshot(snapshot);
        if (!sections) {
            printConsoleLine(stderr, QStringLiteral("Soubor %1 není stránka s údaji o nemovitosti "
                                                    "a jejích vlastnících.")
                                         .arg(paths[i]));
            return 2;
        }
        pages[i] = *sections;
    }
    const auto rows = [](const std::vector<QStringList>& list) {
        QJsonArray array;
        for (const QStringList& row : list)
            array.append(QJsonArray::fromStringList(row));
        return array;
    };
    // A list's items are rows of one cell.
    const auto items = [](const std::vector<QStringList>& list) {
        QJsonArray array;
        for (const QStringList& row : list)
            array.append(row.value(0));
        return array;
    };
    QJsonArray sections;
    for (const SectionDiff::Change& c : SectionDiff::compare(pages[0], pages[1])) {
        if (!c.differs)
            continue;
        const SectionRow& section = sectionRow(c.section);
        QJsonObject entry{{QStringLiteral("section"), section.name}};
        switch (section.form) {
        case SectionForm::Text:
            entry.insert(QStringLiteral("old"), c.oldText);
            entry.insert(QStringLiteral("new"), c.newText);
            break;
        case SectionForm::Table:
            entry.insert(QStringLiteral("removed"), rows(c.removed));
            entry.insert(QStringLiteral("added"), rows(c.added));
            break;
        case SectionForm::List:
            entry.insert(QStringLiteral("removed"), items(c.removed));
            entry.insert(QStringLiteral("added"), items(c.added));
            break;
        }
        sections.append(entry);
    }
    std::fputs(QJsonDocument(QJsonObject{{QStringLiteral("sections"), sections}})
                   .toJson(QJsonDocument::Indented)
                   .constData(),
               stdout);
    return sections.isEmpty() ? 0 : 1;
}

/// The daily check's timer: "HH:MM" sets it, "off" removes it, nothing prints its state.
int schedule(const CommandLine& commandLine) {
    const QString wish = commandLine.argumentOf(QStringLiteral("schedule")).value_or(QString());
    if (wish.isEmpty() || wish.startsWith(u'-')) {
        printConsoleLine(stdout, DailySchedule::state());
        return 0;
    }
    if (wish.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0) {
        if (const QString failed = DailySchedule::remove(); !failed.isEmpty()) {
            printConsoleLine(stderr, failed);
            return 2;
        }
        printConsoleLine(stdout, QStringLiteral("Automatická kontrola už není naplánována."));
        return 0;
    }
    const std::optional<DailySchedule::Time> time =
        DailySchedule::Time::parse(wish.section(u':', 0, 0), wish.section(u':', 1));
    if (!wish.contains(u':') || !time) {
        printConsoleLine(stderr, QStringLiteral("Čas „%1“ neplatí: zadejte hodinu 0–23 a minutu "
                                                "0–59, například --schedule 09:05.")
                                     .arg(wish));
        return 2;
    }
    QString folder = commandLine.argumentOf(QStringLiteral("files")).value_or(QString());
    if (!folder.isEmpty())
        folder = DataFolder::withTrailingSeparator(QDir(folder).absolutePath());
    const DailySchedule daily(QCoreApplication::applicationFilePath(), folder);
    if (!DailySchedule::userManagerRuns()) {
        printConsoleLine(stderr,
                         QStringLiteral("Systemd pro tohoto uživatele neběží, časovač nelze "
                                        "nastavit. Do crontabu (crontab -e) lze vložit "
                                        "řádek:\n") +
                             daily.crontabLine(*time));
        return 2;
    }
    if (const QString failed = daily.plan(*time); !failed.isEmpty()) {
        printConsoleLine(stderr, failed);
        return 2;
    }
    printConsoleLine(stdout, DailySchedule::state());
    return 0;
}

int importCodeLists(const CommandLine& commandLine) {
    const QString source =
        commandLine.argumentOf(QStringLiteral("import-codelists")).value_or(QString());
    if (source.isEmpty()) {
        printConsoleLine(stderr,
                         QStringLiteral("Chybí složka s číselníky: --import-codelists SLOŽKA"));
        return 2;
    }
    try {
        const QString dataFolder = dataFolderOf(commandLine);
        SingleInstance instance(dataFolder);
        if (!instance.tryLock()) {
            printConsoleLine(stderr, QStringLiteral("Číselníky nelze načíst: ") +
                                         SingleInstance::busyText());
            return 2;
        }
        // Read and check every file before the database is touched.
        const auto files = CodeListImporter::readFolder(source);
        const auto tables = CodeListImporter::parse(files);
        FirstStart::prepareDataFolder(dataFolder);
        SqliteConnection connection;
        connection.open(dataFolder + Schema::databaseFileName());
        CodeListImporter::store(connection, tables);
        printConsoleLine(stdout, CodeListImporter::summary(tables));
        printConsoleLine(
            stdout, QStringLiteral("Databáze: %1").arg(dataFolder + Schema::databaseFileName()));
        return 0;
    } catch (const CodeListError& e) {
        printConsoleLine(stderr, e.message());
    } catch (const DatabaseError& e) {
        printConsoleLine(stderr, QStringLiteral("Databázi nelze použít: ") + e.message());
    } catch (const NoDataHomeError& e) {
        printConsoleLine(stderr, QString::fromUtf8(e.what()));
    }
    printConsoleLine(stderr, QStringLiteral("Číselníky nebyly změněny."));
    return 1;
}

using Known = CommandLine::Known;
constexpr Known kKnownSwitches[] = {{"autoload"},
                                    {"headless"},
                                    {"files", Known::One},
                                    {"import-records", Known::One},
                                    {"import-codelists", Known::One},
                                    {"extract", Known::One},
                                    {"diff", Known::Two},
                                    {"schedule", Known::OptionalOne},
                                    {"help"},
                                    {"h"},
                                    {"?"},
                                    {"version"},
                                    // Qt's own, which a user of a Qt program may give or
                                    // a session manager restoring the window passes.
                                    {"session", Known::One},
                                    {"platform", Known::One},
                                    {"style", Known::One},
                                    {"stylesheet", Known::One},
                                    {"reverse"},
                                    {"qwindowgeometry", Known::One},
                                    {"display", Known::One},
                                    {"webEngineArgs", Known::AllTheRest}};

} // namespace

std::optional<int> refuseParameters(const CommandLine& commandLine) {
    if (const auto unknown = commandLine.firstUnknown(kKnownSwitches)) {
        printConsoleLine(stderr,
                         QStringLiteral("Neznámý přepínač nebo parametr „%1“.\n").arg(*unknown));
        std::fputs(kUsage, stderr);
        return 2;
    }
    const bool withoutWindow = commandLine.hasSwitch(QStringLiteral("headless")) ||
                               commandLine.hasSwitch(QStringLiteral("import-records")) ||
                               commandLine.hasSwitch(QStringLiteral("import-codelists")) ||
                               commandLine.hasSwitch(QStringLiteral("schedule"));
    const std::optional<QString> folder = commandLine.argumentOf(QStringLiteral("files"));
    if (withoutWindow && folder && !DataFolder::folderExists(*folder)) {
        printConsoleLine(stderr, folder->isEmpty()
                                     ? QStringLiteral("Chybí datová složka: --files SLOŽKA")
                                     : QStringLiteral("Datová složka %1 neexistuje. Vytvořte ji, "
                                                      "nebo zadejte existující složku.")
                                           .arg(*folder));
        return 2;
    }
    return std::nullopt;
}

bool wanted(const CommandLine& commandLine) {
    for (const char* name :
         {"help", "h", "?", "version", "import-codelists", "extract", "diff", "schedule"}) {
        if (commandLine.hasSwitch(QString::fromLatin1(name)))
            return true;
    }
    return false;
}

int run(const CommandLine& commandLine) {
    if (commandLine.hasSwitch(QStringLiteral("help")) ||
        commandLine.hasSwitch(QStringLiteral("h")) || commandLine.hasSwitch(QStringLiteral("?"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (commandLine.hasSwitch(QStringLiteral("version"))) {
        std::printf("veritam %s\n", VERITAM_VERSION);
        return 0;
    }
    if (commandLine.hasSwitch(QStringLiteral("diff")))
        return diff(commandLine);
    if (commandLine.hasSwitch(QStringLiteral("schedule")))
        return schedule(commandLine);
    if (commandLine.hasSwitch(QStringLiteral("extract")))
        return extract(commandLine);
    return importCodeLists(commandLine);
}

} // namespace veritam::ConsoleCommands
