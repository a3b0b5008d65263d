#include "TestSupport.h"

#include "store/CodeListImporter.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QFile>
#include <QtTest>

namespace veritam::test {

TempDataFolder::TempDataFolder()
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
}

QString TempDataFolder::path() const
{
    return m_dir.path() + u'/';
}

QString TempDataFolder::createDatabase() const
{
    const QString file = path() + Schema::databaseFileName();
    Schema::createDatabase(file);
    return file;
}

QString TempDataFolder::createDatabaseWithCodeLists() const
{
    static QTemporaryDir templateDir;
    static const QString templateFile = [] {
        const QString file = templateDir.path() + QStringLiteral("/template.sqlite");
        Schema::createDatabase(file);
        SqliteConnection connection;
        connection.open(file);
        CodeListImporter::install(connection,
                                  CodeListImporter::readFolder(sharedCodeListFolder()));
        connection.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return file;
    }();
    const QString file = path() + Schema::databaseFileName();
    if (!QFile::copy(templateFile, file))
        qFatal("cannot copy the template database");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    return file;
}

QString sharedCodeListFolder()
{
    return qEnvironmentVariable("VERITAM_SHARED_DATA") + QStringLiteral("/codelists");
}

QString binFolder()
{
    return qEnvironmentVariable("VERITAM_BIN_DIR");
}

} // namespace veritam::test
