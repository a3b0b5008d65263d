#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace veritam {

class SqliteConnection;

/// Bad code-list input; the message is Czech and says which file and what is wrong.
class CodeListError : public std::runtime_error {
public:
    explicit CodeListError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

/// The authority's territory, municipality, district and part code lists, turned into the
/// two lookup tables kat_uzemi_obce and kat_casti_obce.
class CodeListImporter {
public:
    /// The four lists, by base name; each is `<name>.csv`, or `<name>.zip` holding it.
    static const QStringList& listNames();

    struct Territory {
        qint64 kuKod;
        QString kuNazev;
        qint64 obecKod;
        QString obecNazev;
        QString okresNazev;
    };
    struct Part {
        qint64 kod;
        QString nazev;
        qint64 obecKod;
    };
    struct Tables {
        std::vector<Territory> territories;
        std::vector<Part> parts;
        int municipalityCount() const;
    };

    /// Parses the four CSV files (Windows-1250, ";"-separated, columns by header name),
    /// skipping rows no longer valid. `files` maps each list name to its bytes.
    /// Throws CodeListError.
    static Tables parse(const QMap<QString, QByteArray>& files);

    /// Reads `<name>.csv` of every list from a folder. Throws CodeListError.
    static QMap<QString, QByteArray> readFolder(const QString& folder);

    /// Replaces both lookup tables in one transaction: all or nothing. Throws DatabaseError.
    static void store(SqliteConnection& connection, const Tables& tables);

    /// Parses and stores: the lookup tables are replaced only when every file is sound.
    static Tables install(SqliteConnection& connection, const QMap<QString, QByteArray>& files);

    /// One line for the user: how many territories, municipalities and parts.
    static QString summary(const Tables& tables);
};

} // namespace veritam
