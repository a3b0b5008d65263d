#include "TestSupport.h"

#include "store/CodeListImporter.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

namespace veritam::test {

TempDataFolder::TempDataFolder() {
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
}

QString TempDataFolder::path() const {
    return m_dir.path() + u'/';
}

QString TempDataFolder::createDatabase() const {
    const QString file = path() + Schema::databaseFileName();
    Schema::createDatabase(file);
    return file;
}

QString TempDataFolder::createDatabaseWithCodeLists() const {
    static QTemporaryDir templateDir;
    static const QString templateFile = [] {
        const QString file = templateDir.path() + QStringLiteral("/template.sqlite");
        Schema::createDatabase(file);
        SqliteConnection connection;
        connection.open(file);
        CodeListImporter::install(connection,
                                  CodeListImporter::readFolder(fixtureCodeListFolder()));
        connection.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return file;
    }();
    const QString file = path() + Schema::databaseFileName();
    if (!QFile::copy(templateFile, file))
        qFatal("cannot copy the template database");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    return file;
}

PreparedFolder::PreparedFolder(bool withCodeLists) {
    if (withCodeLists)
        folder.createDatabaseWithCodeLists();
    else
        folder.createDatabase();
}

OpenedStore::OpenedStore(const QString& dataFolder) {
    dm.DataModuleCreate(dataFolder);
}

void OpenedStore::exec(const QString& jetSql) {
    try {
        dm.ExecuteStatement(jetSql);
    } catch (const std::exception& e) {
        QFAIL(qPrintable(jetSql + QStringLiteral(": ") + QString::fromUtf8(e.what())));
    }
}

QVariant OpenedStore::scalar(const QString& jetSql) {
    auto q = dm.OpenStatement(jetSql);
    return q->eof() ? QVariant() : q->rowValue(0, 0);
}

void OpenedStore::refresh(Dataset& query) {
    const auto before = messages.messages.size();
    dm.Obnovit_Query(query);
    if (messages.messages.size() != before)
        QFAIL(qPrintable(messages.messages.last()));
}

QString fixtureCodeListFolder() {
    return QStringLiteral(VERITAM_FIXTURE_CODELISTS_DIR);
}

namespace {

QString configuredNationalFolder() {
    const QString given = qEnvironmentVariable("VERITAM_CODELISTS_DIR");
    return QDir::cleanPath(given.isEmpty() ? QStringLiteral(VERITAM_CODELISTS_DIR) : given);
}

} // namespace

QString nationalCodeListFolder() {
    const QString folder = configuredNationalFolder();
    for (const char* name :
         {"UI_KATASTRALNI_UZEMI.csv", "UI_OBEC.csv", "UI_OKRES.csv", "UI_CAST_OBCE.csv"}) {
        if (!QFileInfo::exists(folder + u'/' + QLatin1String(name)))
            return {};
    }
    return folder;
}

QString nationalCodeListsMissing() {
    return QStringLiteral("the authority's whole code lists are not in %1: put the four files "
                          "UI_KATASTRALNI_UZEMI.csv, UI_OBEC.csv, UI_OKRES.csv and "
                          "UI_CAST_OBCE.csv there, or set VERITAM_CODELISTS_DIR to their "
                          "folder (README, section Tests)")
        .arg(configuredNationalFolder());
}

bool killWhileAtWork(const QString& helper, const QString& dataFolder) {
    QProcess process;
    process.start(binFolder() + u'/' + helper, {dataFolder});
    if (!process.waitForReadyRead(30000))
        return false;
    QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(20, 300)));
    if (const qint64 pid = process.processId(); pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    process.waitForFinished();
    return true;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush())
        qFatal("cannot write %s", qPrintable(path));
}

QString binFolder() {
    return QStringLiteral(VERITAM_BIN_DIR);
}

} // namespace veritam::test
