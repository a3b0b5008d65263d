// Whole-file writes that check their result, on a real file system that fills up, a folder
// that cannot be written, and under a permissive umask.
#include "FileSystemLimits.h"
#include "TestSupport.h"

#include "platform/DataFolder.h"
#include "platform/DurableFile.h"

#include <QDir>
#include <QtTest>

#include <sys/stat.h>

using namespace veritam;
using namespace veritam::test;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

/// Every entry of the folder, the hidden ones too: a failed write leaves none of its own.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

/// The umask of a typical desktop session while it lives.
struct Umask {
    explicit Umask(mode_t mask)
        : previous(::umask(mask)) {}
    ~Umask() { ::umask(previous); }
    mode_t previous;
};

} // namespace

class TestDurableFile : public QObject {
    Q_OBJECT
private slots:
    void fullDiskLeavesTheOldFile();
    void unwritableFolderLeavesTheOldFile();
    void readsTellMissingAndUnreadableFiles();
    void newFilesAndFoldersAreTheOwnersOnly();
    void stagedFileIsInvisibleUntilPublished();
};

void TestDurableFile::fullDiskLeavesTheOldFile() {
    SmallFileSystem disk(64 * 1024);
    if (!disk.mounted())
        QSKIP("A tmpfs cannot be mounted here (needs root); the full disk is not tried.");
    const QString path = disk.path() + QStringLiteral("history_log.txt");
    const QByteArray old(3000, 'a');
    DurableFile::replace(path, old);
    disk.fill();
    const QStringList before = entries(disk.path());
    try {
        DurableFile::replace(path, old + QByteArray(5000, 'b'));
        QFAIL("written on a full disk");
    } catch (const FileError& e) {
        QCOMPARE(e.path(), path);
        QCOMPARE(e.reason(), QStringLiteral("na disku není volné místo"));
        QVERIFY(e.message().contains(path));
    }
    QCOMPARE(contentOf(path), old);
    QCOMPARE(entries(disk.path()), before);
    // An append that runs out of room mid-way takes back what got in.
    QVERIFY_THROWS_EXCEPTION(FileError, DurableFile::append(path, QByteArray(5000, 'c')));
    QCOMPARE(contentOf(path), old);

    disk.makeRoom();
    DurableFile::replace(path, old + "b");
    QCOMPARE(contentOf(path), old + "b");
}

void TestDurableFile::unwritableFolderLeavesTheOldFile() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("nastaveni.ini");
    DurableFile::replace(path, "[cuzk]\r\njmeno=Jan\r\n");
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    {
        const FileModesApply asUser;
        try {
            DurableFile::replace(path, "jiné");
            QFAIL("written into a read-only folder");
        } catch (const FileError& e) {
            QCOMPARE(e.reason(), QStringLiteral("chybí oprávnění"));
        }
    }
    QVERIFY(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(contentOf(path), QByteArray("[cuzk]\r\njmeno=Jan\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("nastaveni.ini")});
}

void TestDurableFile::readsTellMissingAndUnreadableFiles() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("history_log.txt");
    QCOMPARE(DurableFile::readIfExists(path), QByteArray());
    // A file the user named must be there.
    try {
        DurableFile::read(path);
        QFAIL("a missing file was read");
    } catch (const FileError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Soubor %1 nelze přečíst: soubor neexistuje.").arg(path));
    }
    DurableFile::replace(path, "řádek\r\n");
    QCOMPARE(DurableFile::read(path), QByteArray("řádek\r\n"));
    QVERIFY(QFile::setPermissions(path, QFile::Permissions()));
    const FileModesApply asUser;
    QVERIFY_THROWS_EXCEPTION(FileError, DurableFile::readIfExists(path));
    QVERIFY_THROWS_EXCEPTION(FileError, DurableFile::read(path));
    QVERIFY_THROWS_EXCEPTION(FileError, DurableFile::readIfExists(dir.path())); // a folder
}

void TestDurableFile::newFilesAndFoldersAreTheOwnersOnly() {
    const Umask desktop(022);
    TempDataFolder dir;
    const QString folder = dir.path() + QStringLiteral("Veritam/historie/parcely");
    QVERIFY(DataFolder::createWithParents(folder));
    for (const QString& created : {dir.path() + QStringLiteral("Veritam"),
                                   dir.path() + QStringLiteral("Veritam/historie"), folder})
        QCOMPARE(modeOf(created), 0700);
    const QString fresh = folder + QStringLiteral("/a.html");
    DurableFile::replace(fresh, "a");
    QCOMPARE(modeOf(fresh), 0600);
    const QString log = folder + QStringLiteral("/history_log.txt");
    DurableFile::append(log, "a\r\n");
    DurableFile::append(log, "b");
    QCOMPARE(modeOf(log), 0600);
    QCOMPARE(contentOf(log), QByteArray("a\r\nb"));
    QCOMPARE(DurableFile::tail(log, 2), QByteArray("\nb"));

    // What the user set up keeps its mode.
    QVERIFY(QFile::setPermissions(fresh, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                             QFile::ReadOther));
    DurableFile::replace(fresh, "b");
    QCOMPARE(modeOf(fresh), 0644);
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    QVERIFY(DataFolder::createWithParents(dir.path()));
    QCOMPARE(modeOf(dir.path()), 0755);
}

void TestDurableFile::stagedFileIsInvisibleUntilPublished() {
    TempDataFolder dir;
    const QString path = dir.path() + QStringLiteral("2015.03.07,14.05.09.html");
    {
        const DurableFile::Staged abandoned(path, "x");
        QVERIFY(!QFileInfo::exists(path));
    }
    {
        DurableFile::Staged unpublished(path, "x");
        unpublished.withdraw();
    }
    QVERIFY(entries(dir.path()).isEmpty());
    {
        DurableFile::Staged withdrawn(path, "x");
        withdrawn.publish();
        QCOMPARE(contentOf(path), QByteArray("x"));
        withdrawn.withdraw();
    }
    QVERIFY(entries(dir.path()).isEmpty());

    // The same name a moment ago: the newer content replaced it, and withdrawing the newer
    // one does not leave the older one's change row without a file.
    DurableFile::replace(path, "older");
    DurableFile::Staged same(path, "newer");
    same.publish();
    same.withdraw();
    QCOMPARE(contentOf(path), QByteArray("newer"));
}

QTEST_GUILESS_MAIN(TestDurableFile)
#include "tst_DurableFile.moc"
