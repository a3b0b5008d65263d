#include "store/TDM1.h"

#include "platform/UserMessages.h"
#include "store/DatabaseError.h"
#include "store/JetSql.h"
#include "store/Schema.h"

#include <QDate>
#include <QTime>

namespace veritam {

namespace {

QStringList lines(std::initializer_list<const char*> texts) {
    QStringList result;
    for (const char* text : texts)
        result.append(QString::fromUtf8(text));
    return result;
}

// The record queries' texts; the sort handlers replace the last line, so the line
// structure is part of the contract.
QStringList parcelySql() {
    return lines({
        "SELECT *,",
        "",
        "iif(druh_cislovani = 1,",
        "iif(isnull(cislo_2), 'st. '+CStr(cislo_1), 'st. '+CStr(cislo_1)+'/'+CStr(cislo_2)),",
        "iif(isnull(cislo_2), CStr(cislo_1), CStr(cislo_1)+'/'+CStr(cislo_2))) as cele_cislo",
        "",
        "FROM (SELECT parcely.*, kat_uzemi_obce.ku_nazev FROM parcely, kat_uzemi_obce WHERE "
        "parcely.uzemi = kat_uzemi_obce.ku_kod) as parcely WHERE user_id = :par_user",
        "",
        "ORDER BY nazev",
    });
}

QStringList buildingLikeSql(const char* table) {
    QStringList sql = lines({
        "SELECT DISTINCT *, iif(typ_stavby = 1, 'budova s číslem popisným', 'budova s číslem "
        "evidenčním') as typ_stavby_text",
        "FROM (SELECT T.*, kat_uzemi_obce.obec_nazev FROM (SELECT DISTINCT T.*, "
        "kat_casti_obce.nazev as nazev_casti_obce from T, kat_casti_obce where T.cast_obce = "
        "kat_casti_obce.kod) as T, kat_uzemi_obce WHERE T.obec = kat_uzemi_obce.obec_kod) as T",
        "",
        "WHERE user_id = :par_user_id",
        "",
        "ORDER BY nazev",
    });
    const QString name = QString::fromLatin1(table);
    sql[1]
        .replace(QStringLiteral("T."), name + u'.')
        .replace(QStringLiteral(" T,"), u' ' + name + u',')
        .replace(QStringLiteral("as T"), QStringLiteral("as ") + name);
    return sql;
}

QStringList one(const char* text) {
    return {QString::fromUtf8(text)};
}

const QStringList kRecordYesNoWords = {QStringLiteral("kontrolovat"), QStringLiteral("zmeny")};

// The columns the three record tables share, after their own identifying columns.
const QStringList kWatchedColumns =
    lines({"nazev", "kontrolovat", "posledni_kontrola", "zmeny", "hash_vlastnici", "hash_ochrana",
           "hash_omezeni", "hash_jine", "zmena_vlastnici", "zmena_ochrana", "zmena_omezeni",
           "zmena_jine", "hash", "hash_prevod", "zmena_prevod"});

const QStringList kParcelColumns =
    lines({"ID", "user_id", "uzemi", "typ_parcely", "puvod_parcely", "druh_cislovani", "cislo_1",
           "cislo_2", "hash_vymera", "zmena_vymera"}) +
    kWatchedColumns;

const QStringList kBuildingColumns =
    lines({"ID", "user_id", "obec", "cast_obce", "typ_stavby", "cislo_stavby"}) + kWatchedColumns;

} // namespace

TDM1::TDM1(UserMessages& messages, RecordEditorPort& editor, QObject* parent)
    : QObject(parent)
    , KatastralniUzemi_Query(ADOConnection, QStringLiteral("KatastralniUzemi_Query"))
    , KatastralniUzemi_Datasource(KatastralniUzemi_Query)
    , Parcely_Query(ADOConnection, QStringLiteral("Parcely_Query"))
    , Parcely_DataSource(Parcely_Query)
    , Stavby_Query(ADOConnection, QStringLiteral("Stavby_Query"))
    , Stavby_DataSource(Stavby_Query)
    , Jednotky_Query(ADOConnection, QStringLiteral("Jednotky_Query"))
    , Jednotky_DataSource(Jednotky_Query)
    , Obce_Query(ADOConnection, QStringLiteral("Obce_Query"))
    , Obce_DataSource(Obce_Query)
    , CastiObce_Query(ADOConnection, QStringLiteral("CastiObce_Query"))
    , CastiObce_DataSource(CastiObce_Query)
    , ZmenyParcel_Query(ADOConnection, QStringLiteral("ZmenyParcel_Query"))
    , ZmenyParcel_DataSource(ZmenyParcel_Query)
    , ZmenyStaveb_Query(ADOConnection, QStringLiteral("ZmenyStaveb_Query"))
    , ZmenySTaveb_DataSource(ZmenyStaveb_Query)
    , ZmenyJednotek_Query(ADOConnection, QStringLiteral("ZmenyJednotek_Query"))
    , ZmenyJednotek_DataSource(ZmenyJednotek_Query)
    , User_Query(ADOConnection, QStringLiteral("User_Query"))
    , User_DataSource(User_Query)
    , Rules(*this, editor)
    , m_messages(messages) {
    setObjectName(QStringLiteral("DM1"));
    configureQueries();
    Rules.attach();
}

void TDM1::configureQueries() {
    KatastralniUzemi_Query.setSql(
        one("SELECT * FROM kat_uzemi_obce WHERE ku_nazev LIKE :par_nazev ORDER BY ku_nazev"));
    KatastralniUzemi_Query.setParam(QStringLiteral("par_nazev"), QStringLiteral("%"));

    Parcely_Query.setSql(parcelySql());
    Parcely_Query.setParam(QStringLiteral("par_user"), QStringLiteral("1"));
    Parcely_Query.setUpdateTable(QStringLiteral("parcely"));
    Parcely_Query.setRequiredFields(QStringList{QStringLiteral("cele_cislo")} + kParcelColumns +
                                    QStringList{QStringLiteral("ku_nazev")});
    Parcely_Query.setYesNoAsWords(kRecordYesNoWords);

    const QStringList joinedBuildingFields = {QStringLiteral("nazev_casti_obce"),
                                              QStringLiteral("obec_nazev")};
    Stavby_Query.setSql(buildingLikeSql("stavby"));
    Stavby_Query.setParam(QStringLiteral("par_user_id"), QStringLiteral("1"));
    Stavby_Query.setUpdateTable(QStringLiteral("stavby"));
    Stavby_Query.setRequiredFields(QStringList{QStringLiteral("typ_stavby_text")} +
                                   kBuildingColumns + joinedBuildingFields);
    Stavby_Query.setYesNoAsWords(kRecordYesNoWords);

    QStringList unitColumns = kBuildingColumns;
    unitColumns << QStringLiteral("cislo_jednotky") << QStringLiteral("hash_podil")
                << QStringLiteral("zmena_podil");
    Jednotky_Query.setSql(buildingLikeSql("jednotky"));
    Jednotky_Query.setParam(QStringLiteral("par_user_id"), QStringLiteral("1"));
    Jednotky_Query.setUpdateTable(QStringLiteral("jednotky"));
    Jednotky_Query.setRequiredFields(QStringList{QStringLiteral("typ_stavby_text")} + unitColumns +
                                     joinedBuildingFields);
    Jednotky_Query.setYesNoAsWords(kRecordYesNoWords);

    Obce_Query.setSql(one("SELECT DISTINCT obec_kod, obec_nazev, okres_nazev FROM kat_uzemi_obce "
                          "WHERE obec_nazev LIKE :par_nazev ORDER BY obec_nazev"));
    Obce_Query.setParam(QStringLiteral("par_nazev"), QStringLiteral("%"));
    Obce_Query.setRequiredFields(lines({"obec_kod", "obec_nazev", "okres_nazev"}));

    CastiObce_Query.setSql(
        one("SELECT * FROM kat_casti_obce WHERE obec_kod LIKE :par_obec_kod ORDER BY nazev"));
    CastiObce_Query.setParam(QStringLiteral("par_obec_kod"), QStringLiteral("-1"));
    CastiObce_Query.setRequiredFields(lines({"kod", "nazev", "obec_kod"}));

    // Two changes of one second are told apart by their order of recording.
    ZmenyParcel_Query.setSql(one("SELECT * FROM zmeny_parcel WHERE zmeny_parcel.id_parcely = "
                                 ":par_id ORDER BY zmeny_parcel.datum DESC, ID DESC"));
    ZmenyStaveb_Query.setSql(one("SELECT * FROM zmeny_staveb WHERE zmeny_staveb.id_stavby = "
                                 ":par_id ORDER BY zmeny_staveb.datum DESC, ID DESC"));
    ZmenyJednotek_Query.setSql(one("SELECT * FROM zmeny_jednotek WHERE zmeny_jednotek.id_jednotky "
                                   "= :par_id ORDER BY zmeny_jednotek.datum DESC, ID DESC"));
    for (Dataset* history : {&ZmenyParcel_Query, &ZmenyStaveb_Query, &ZmenyJednotek_Query})
        history->setParam(QStringLiteral("par_id"), QStringLiteral("-1"));

    User_Query.setSql(one("SELECT * FROM user_table"));
    User_Query.setUpdateTable(QStringLiteral("user_table"));
    User_Query.setRequiredFields(lines({"ID", "login", "heslo", "prihlasovat"}));
}

void TDM1::DataModuleCreate(const QString& dataFolder) {
    ADOConnection.close();
    m_dataFolder = dataFolder;
    // Without a data folder there is no database to open; relative to the working
    // directory would be a file nobody meant.
    if (dataFolder.isEmpty())
        throw DatabaseError(QStringLiteral("Datová složka není známa, databázi nelze otevřít."));
    ADOConnection.open(dataFolder + Schema::databaseFileName());
    OpenDatabases();
}

void TDM1::OpenDatabases() {
    for (Dataset* q : {&KatastralniUzemi_Query, &Parcely_Query, &Stavby_Query, &Jednotky_Query,
                       &Obce_Query, &User_Query})
        q->open();
}

QString TDM1::GetMaxId(const QString& table, const QString& column) {
    auto q = OpenStatement(QStringLiteral("SELECT ") + column + QStringLiteral(" as max_id FROM ") +
                           table + QStringLiteral(" ORDER BY ") + column + QStringLiteral(" DESC"));
    q->first();
    return q->eof() ? QString() : q->text(QStringLiteral("max_id"));
}

QString TDM1::DateToSql(const QDateTime& dateTime) {
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    return QString::asprintf("#%.*d-%.*d-%.*d %.*d.%.*d.%.*d#", 4, d.year(), 2, d.month(), 2,
                             d.day(), 2, t.hour(), 2, t.minute(), 2, t.second());
}

void TDM1::UpdateField(int id, const QString& table, const QString& column, const QString& value) {
    ExecuteStatement(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + column +
                     QStringLiteral(" = ") + value + QStringLiteral(" WHERE ID = ") +
                     QString::number(id));
}

void TDM1::UpdateFields(int id, const QString& table,
                        const std::vector<std::pair<QString, QVariant>>& values) {
    QStringList assignments;
    for (const auto& [column, value] : values)
        assignments.append(column + QStringLiteral(" = ?"));
    SqliteStatement statement(ADOConnection, QStringLiteral("UPDATE ") + table +
                                                 QStringLiteral(" SET ") +
                                                 assignments.join(QStringLiteral(", ")) +
                                                 QStringLiteral(" WHERE ID = ?"));
    int position = 0;
    for (const auto& [column, value] : values)
        statement.bind(++position, value);
    statement.bind(++position, id);
    statement.run();
}

void TDM1::MarkSeen(RecordKind kind, std::optional<int> id) {
    const KindTable& k = kindTable(kind);
    QStringList cleared;
    for (Section s : k.compared)
        cleared.append(sectionRow(s).flag + QStringLiteral(" = 0"));
    SqliteStatement statement(ADOConnection,
                              QStringLiteral("UPDATE ") + k.recordTable + QStringLiteral(" SET ") +
                                  cleared.join(QStringLiteral(", ")) +
                                  (id ? QStringLiteral(" WHERE ID = ?") : QString()));
    if (id)
        statement.bind(1, *id);
    statement.run();
}

void TDM1::InsertChange(const QString& changeTable, const QString& referenceColumn,
                        const QString& idText, const QDateTime& when, const QString& fileName) {
    ExecuteStatement(QStringLiteral("INSERT INTO ") + changeTable + QStringLiteral(" (") +
                     referenceColumn + QStringLiteral(", datum, filename) VALUES (") + idText +
                     QStringLiteral(", ") + DateToSql(when) + QStringLiteral(", ") +
                     QuotedLiteral(fileName) + u')');
}

void TDM1::Obnovit_Query(Dataset& query) {
    try {
        if (query.isOpen())
            query.requery();
        else
            query.open();
    } catch (const SilentAbort&) {
        // A rule cancelled the pending save; it has said what it had to say.
    } catch (const DatabaseError& e) {
        reportRefreshError(e.className(), e.message());
    } catch (const std::exception& e) {
        reportRefreshError(QStringLiteral("std::exception"), QString::fromLocal8Bit(e.what()));
    }
}

void TDM1::reportRefreshError(const QString& className, const QString& message) {
    m_messages.showMessage(QStringLiteral("Došlo k chybě. \r\nException class name = ") +
                           className + QStringLiteral("\r\nException message = ") + message);
}

void TDM1::ExecuteStatement(const QString& jetSql) {
    SqliteStatement statement(ADOConnection, JetSql::toSqlite(jetSql));
    statement.run();
}

std::unique_ptr<Dataset> TDM1::OpenStatement(const QString& jetSql) {
    auto q = std::make_unique<Dataset>(ADOConnection, QStringLiteral("Query"), QStringList{jetSql});
    q->open();
    return q;
}

QString TDM1::QuotedLiteral(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

} // namespace veritam
