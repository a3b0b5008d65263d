#include "store/Schema.h"

#include "platform/DurableFile.h"
#include "store/DatabaseError.h"
#include "store/SqliteConnection.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace veritam::Schema {

QString databaseFileName() {
    return QStringLiteral("katastr_data.sqlite");
}

// Yes/no columns are BOOLEAN (0 or 1, never empty), date-times DATETIME (ISO text to the
// second); the declared types tell the datasets how to present the values.
QString createStatements() {
    return QStringLiteral(R"SQL(
CREATE TABLE parcely (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id INTEGER,
    uzemi INTEGER,
    typ_parcely TEXT,
    puvod_parcely INTEGER,
    druh_cislovani INTEGER,
    cislo_1 INTEGER,
    cislo_2 INTEGER,
    nazev TEXT,
    kontrolovat BOOLEAN NOT NULL DEFAULT 0 CHECK (kontrolovat IN (0, 1)),
    posledni_kontrola DATETIME,
    zmeny BOOLEAN NOT NULL DEFAULT 0 CHECK (zmeny IN (0, 1)),
    hash_vymera TEXT,
    hash_vlastnici TEXT,
    hash_ochrana TEXT,
    hash_omezeni TEXT,
    hash_jine TEXT,
    zmena_vymera BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_vymera IN (0, 1)),
    zmena_vlastnici BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_vlastnici IN (0, 1)),
    zmena_ochrana BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_ochrana IN (0, 1)),
    zmena_omezeni BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_omezeni IN (0, 1)),
    zmena_jine BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_jine IN (0, 1)),
    hash TEXT,
    hash_prevod TEXT,
    zmena_prevod BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_prevod IN (0, 1))
);
CREATE TABLE stavby (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id INTEGER,
    obec INTEGER,
    cast_obce INTEGER,
    typ_stavby INTEGER,
    cislo_stavby INTEGER,
    nazev TEXT,
    kontrolovat BOOLEAN NOT NULL DEFAULT 0 CHECK (kontrolovat IN (0, 1)),
    posledni_kontrola DATETIME,
    zmeny BOOLEAN NOT NULL DEFAULT 0 CHECK (zmeny IN (0, 1)),
    hash_vlastnici TEXT,
    hash_ochrana TEXT,
    hash_omezeni TEXT,
    hash_jine TEXT,
    zmena_vlastnici BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_vlastnici IN (0, 1)),
    zmena_ochrana BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_ochrana IN (0, 1)),
    zmena_omezeni BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_omezeni IN (0, 1)),
    zmena_jine BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_jine IN (0, 1)),
    hash TEXT,
    hash_prevod TEXT,
    zmena_prevod BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_prevod IN (0, 1))
);
CREATE TABLE jednotky (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id INTEGER,
    obec INTEGER,
    cast_obce INTEGER,
    typ_stavby INTEGER,
    cislo_stavby INTEGER,
    cislo_jednotky INTEGER,
    nazev TEXT,
    kontrolovat BOOLEAN NOT NULL DEFAULT 0 CHECK (kontrolovat IN (0, 1)),
    posledni_kontrola DATETIME,
    zmeny BOOLEAN NOT NULL DEFAULT 0 CHECK (zmeny IN (0, 1)),
    hash_podil TEXT,
    hash_vlastnici TEXT,
    hash_ochrana TEXT,
    hash_omezeni TEXT,
    hash_jine TEXT,
    zmena_podil BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_podil IN (0, 1)),
    zmena_vlastnici BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_vlastnici IN (0, 1)),
    zmena_ochrana BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_ochrana IN (0, 1)),
    zmena_omezeni BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_omezeni IN (0, 1)),
    zmena_jine BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_jine IN (0, 1)),
    hash TEXT,
    hash_prevod TEXT,
    zmena_prevod BOOLEAN NOT NULL DEFAULT 0 CHECK (zmena_prevod IN (0, 1))
);
CREATE TABLE zmeny_parcel (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    id_parcely INTEGER,
    datum DATETIME,
    filename TEXT
);
CREATE INDEX zmeny_parcel_id_parcely ON zmeny_parcel (id_parcely);
CREATE TABLE zmeny_staveb (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    id_stavby INTEGER,
    datum DATETIME,
    filename TEXT
);
CREATE INDEX zmeny_staveb_id_stavby ON zmeny_staveb (id_stavby);
CREATE TABLE zmeny_jednotek (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    id_jednotky INTEGER,
    datum DATETIME,
    filename TEXT
);
CREATE INDEX zmeny_jednotek_id_jednotky ON zmeny_jednotek (id_jednotky);
CREATE TABLE user_table (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    login TEXT,
    heslo TEXT,
    prihlasovat BOOLEAN NOT NULL DEFAULT 0 CHECK (prihlasovat IN (0, 1))
);
CREATE TABLE kat_uzemi_obce (
    ku_kod INTEGER,
    ku_nazev TEXT,
    obec_kod INTEGER,
    obec_nazev TEXT,
    okres_nazev TEXT
);
CREATE INDEX kat_uzemi_obce_ku_kod ON kat_uzemi_obce (ku_kod);
CREATE INDEX kat_uzemi_obce_obec_kod ON kat_uzemi_obce (obec_kod);
CREATE TABLE kat_casti_obce (
    kod INTEGER,
    nazev TEXT,
    obec_kod INTEGER
);
CREATE INDEX kat_casti_obce_kod ON kat_casti_obce (kod);
INSERT INTO user_table (login, heslo, prihlasovat) VALUES ('prihlasovaci_jmeno', '', 0);
PRAGMA user_version = 1;
)SQL");
}

namespace {

void writeNewDatabase(const QString& temporary) {
    SqliteConnection connection;
    connection.open(temporary, SqliteConnection::Mode::Create);
    // The journal must be a rollback journal while the file is still temporary, or its
    // content would sit in a WAL file named after it.
    connection.exec(QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"));
    SqliteTransaction transaction(connection);
    connection.exec(createStatements());
    transaction.commit();
}

} // namespace

void createDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw DatabaseError(QStringLiteral("Soubor %1 už existuje.").arg(path));
    const QString temporary = path + QStringLiteral(".new");
    QFile::remove(temporary); // left over from an interrupted creation
    const auto fail = [&](const QString& reason) {
        QFile::remove(temporary);
        throw DatabaseError(QStringLiteral("Databázi %1 nelze vytvořit: %2").arg(path, reason));
    };
    // Made for its owner only before the engine opens it: the engine keeps an existing
    // file's mode and gives its journal files the same one.
    const int fd = ::open(QFile::encodeName(temporary).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        fail(DurableFile::reasonOf(errno));
    ::close(fd);
    try {
        writeNewDatabase(temporary);
    } catch (const DatabaseError& e) {
        fail(e.message());
    }
    // rename(2) replaces nothing here (checked above) and is atomic on one file system.
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0)
        fail(DurableFile::reasonOf(errno));
}

} // namespace veritam::Schema
