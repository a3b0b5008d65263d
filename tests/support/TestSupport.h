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

/// A data module connected to a new database with the test code lists, as after start-up.
struct StoreFixture {
    explicit StoreFixture(bool withCodeLists = true);
    /// Runs a Jet-dialect statement; the test fails on an error.
    void exec(const QString& jetSql);
    /// The first column of the first row of a Jet-dialect query.
    QVariant scalar(const QString& jetSql);
    /// Re-executes a named query and fails the test when that showed an error.
    void refresh(Dataset& query);

    TempDataFolder folder;
    RecordingMessages messages;
    RecordingEditor editor;
    TDM1 dm{messages, editor};
};

/// The folder of the authority's code-list CSV files used by the tests.
QString sharedCodeListFolder();

/// The folder holding the program's executables in the build tree.
QString binFolder();

} // namespace veritam::test
