#pragma once

#include "platform/UserMessages.h"
#include "store/RecordEditorPort.h"
#include "store/TDM1.h"

#include <QStringList>
#include <QTemporaryDir>

namespace veritam::test {

/// Messages the code under test showed, in order.
class RecordingMessages : public UserMessages {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    void showError(const QString& text) override { errors.append(text); }
    QStringList messages;
    QStringList errors;
};

/// What the record rules did to the record editor's controls.
class RecordingEditor : public RecordEditorPort {
public:
    void clearSearchBox(SearchBox box) override { cleared.append(static_cast<int>(box)); }
    void setStatusText(const QString& text) override { statusText = text; }
    void setOriginGroupEnabled(bool enabled) override { originGroupEnabled = enabled; }
    QList<int> cleared;
    QString statusText = QStringLiteral("(untouched)");
    bool originGroupEnabled = false;
};

/// A fresh data folder; path() ends with "/".
class TempDataFolder {
public:
    TempDataFolder();
    QString path() const;
    /// path() + the database file name, after creating the database in it.
    QString createDatabase() const;
    /// Creates the database with the shared test code lists already imported
    /// (copied from one import made per test process).
    QString createDatabaseWithCodeLists() const;

private:
    QTemporaryDir m_dir;
};

/// A data module connected to the database of an existing data folder, as after start-up.
struct OpenedStore {
    explicit OpenedStore(const QString& dataFolder);
    /// Runs a Jet-dialect statement; the test fails on an error.
    void exec(const QString& jetSql);
    /// The first column of the first row of a Jet-dialect query.
    QVariant scalar(const QString& jetSql);
    /// Re-executes a named query and fails the test when that showed an error.
    void refresh(Dataset& query);

    RecordingMessages messages;
    RecordingEditor editor;
    TDM1 dm{messages, editor};
};

/// A new data folder with a database, with or without the test code lists.
struct PreparedFolder {
    explicit PreparedFolder(bool withCodeLists);
    TempDataFolder folder;
};

/// A data module on a new database in a new data folder.
struct StoreFixture : PreparedFolder, OpenedStore {
    explicit StoreFixture(bool withCodeLists = true)
        : PreparedFolder(withCodeLists)
        , OpenedStore(folder.path()) {}
};

/// UTF-8 literals as a list of texts, for test tables.
inline QStringList texts(std::initializer_list<const char*> items) {
    QStringList result;
    for (const char* item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

/// The test code lists in the repository: three municipalities (Praha, Ústí nad Labem,
/// Brno) with a few of their territories and parts, in the authority's format.
QString fixtureCodeListFolder();
/// What the test code lists hold.
inline constexpr int kFixtureTerritories = 11; // one more is no longer valid
inline constexpr int kFixtureMunicipalities = 3;
inline constexpr int kFixtureParts = 10;

/// The authority's whole code lists: `VERITAM_CODELISTS_DIR` in the environment, else the
/// folder the build was configured with. Empty when the four files are not there.
QString nationalCodeListFolder();

/// For a test that needs the whole lists: skips it, saying how to get them, when they
/// are not there.
#define REQUIRE_NATIONAL_CODE_LISTS()                                                              \
    do {                                                                                           \
        if (::veritam::test::nationalCodeListFolder().isEmpty())                                   \
            QSKIP(qPrintable(::veritam::test::nationalCodeListsMissing()));                        \
    } while (false)
QString nationalCodeListsMissing();

/// Writes a test's input file whole, replacing what was there; the test program stops
/// when it cannot.
void writeFile(const QString& path, const QByteArray& content);

/// The folder holding the program's executables in the build tree.
QString binFolder();

/// Starts a helper of the build tree on `dataFolder`, waits for its first line (it is at
/// work), lets it go on for a random 20 to 300 ms and kills it. False when it never spoke.
bool killWhileAtWork(const QString& helper, const QString& dataFolder);

} // namespace veritam::test
