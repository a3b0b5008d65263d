// A dataset over a plain table: states, events in their order, and the model grids bind to.
#include "TestSupport.h"

#include "store/DatabaseError.h"
#include "store/DatasetModel.h"
#include "store/Schema.h"
#include "store/SqliteConnection.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

namespace {

/// zmeny_parcel as a dataset that records its events.
struct Fixture {
    Fixture() {
        connection.open(folder.createDatabase());
        q.setUpdateTable(QStringLiteral("zmeny_parcel"));
        q.setParam(QStringLiteral("par_id"), 1);
        auto record = [this](const char* name) {
            return [this, name](Dataset&) { events.append(QString::fromLatin1(name)); };
        };
        q.afterInsert = record("afterInsert");
        q.afterEdit = record("afterEdit");
        q.beforePost = record("beforePost");
        q.afterPost = record("afterPost");
        q.afterCancel = record("afterCancel");
        q.beforeDelete = record("beforeDelete");
        q.afterScroll = record("afterScroll");
    }
    void addRow(const char* name) {
        connection.exec(
            QStringLiteral("INSERT INTO zmeny_parcel (id_parcely, filename) VALUES (1, '") +
            QString::fromLatin1(name) + QStringLiteral("')"));
    }

    TempDataFolder folder;
    SqliteConnection connection;
    Dataset q{connection,
              QStringLiteral("Q"),
              {QStringLiteral("SELECT * FROM zmeny_parcel WHERE id_parcely = :par_id"),
               QStringLiteral("ORDER BY filename")}};
    QStringList events;
};

} // namespace

class TestDataset : public QObject {
    Q_OBJECT
private slots:
    void afterScrollOnOpenOnlyWithRows();
    void afterScrollOnRequeryAlsoWhenEmpty();
    void editingEventsInOrder();
    void cancelledInsertLeavesNoRow();
    void locateRunsAfterScrollAndStaysOnNoMatch();
    void requeryPostsPendingEdit();
    void refusesWritesOutsideEdit();
    void modelFollowsEveryChange();
};

void TestDataset::afterScrollOnOpenOnlyWithRows() {
    Fixture f;
    f.q.open();
    QVERIFY(f.events.isEmpty());
    QVERIFY(f.q.eof());
    f.q.close();
    f.addRow("a");
    f.q.open();
    QCOMPARE(f.events, QStringList{QStringLiteral("afterScroll")});
}

void TestDataset::afterScrollOnRequeryAlsoWhenEmpty() {
    Fixture f;
    f.q.open();
    f.q.requery();
    QCOMPARE(f.events, QStringList{QStringLiteral("afterScroll")});
}

void TestDataset::editingEventsInOrder() {
    Fixture f;
    f.addRow("b");
    f.q.open();
    f.events.clear();
    f.q.insert();
    f.q.setValue(QStringLiteral("id_parcely"), 1);
    f.q.setValue(QStringLiteral("filename"), QStringLiteral("a"));
    f.q.post();
    f.q.edit();
    f.q.setValue(QStringLiteral("filename"), QStringLiteral("c"));
    f.q.cancel();
    QCOMPARE(f.events, (QStringList{QStringLiteral("afterInsert"), QStringLiteral("afterScroll"),
                                    QStringLiteral("beforePost"), QStringLiteral("afterPost"),
                                    QStringLiteral("afterEdit"), QStringLiteral("afterCancel")}));
    QCOMPARE(f.q.text(QStringLiteral("filename")), QStringLiteral("a"));
    f.q.requery();
    QCOMPARE(f.q.recordCount(), 2);
    QCOMPARE(f.q.text(QStringLiteral("filename")), QStringLiteral("a"));
}

void TestDataset::cancelledInsertLeavesNoRow() {
    Fixture f;
    f.addRow("a");
    f.q.open();
    f.q.insert();
    QCOMPARE(f.q.recordCount(), 2);
    f.events.clear();
    f.q.cancel();
    QCOMPARE(f.q.recordCount(), 1);
    QCOMPARE(f.q.text(QStringLiteral("filename")), QStringLiteral("a"));
    // The row now current must be followed, as after any move.
    QCOMPARE(f.events, (QStringList{QStringLiteral("afterCancel"), QStringLiteral("afterScroll")}));
}

void TestDataset::locateRunsAfterScrollAndStaysOnNoMatch() {
    Fixture f;
    f.addRow("a");
    f.addRow("b");
    f.q.open();
    f.events.clear();
    QVERIFY(f.q.locate(QStringLiteral("filename"), QStringLiteral("a"))); // already current
    QVERIFY(f.q.locate(QStringLiteral("FILENAME"), QStringLiteral("b")));
    QCOMPARE(f.q.currentRow(), 1);
    QVERIFY(!f.q.locate(QStringLiteral("filename"), QStringLiteral("B"))); // case-sensitive
    QCOMPARE(f.q.currentRow(), 1);
    QCOMPARE(f.events, (QStringList{QStringLiteral("afterScroll"), QStringLiteral("afterScroll")}));
}

void TestDataset::requeryPostsPendingEdit() {
    Fixture f;
    f.addRow("a");
    f.q.open();
    f.q.edit();
    f.q.setValue(QStringLiteral("filename"), QStringLiteral("z"));
    f.q.requery();
    QCOMPARE(f.q.state(), Dataset::State::Browse);
    QCOMPARE(f.q.text(QStringLiteral("filename")), QStringLiteral("z"));
}

void TestDataset::refusesWritesOutsideEdit() {
    Fixture f;
    f.addRow("a");
    f.q.open();
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             f.q.setValue(QStringLiteral("filename"), QStringLiteral("x")));
    f.q.edit();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, f.q.setValue(QStringLiteral("nope"), 1));
    // An emptied number edit is an empty value.
    f.q.setValue(QStringLiteral("id_parcely"), QString());
    QVERIFY(f.q.value(QStringLiteral("id_parcely")).isNull());
}

void TestDataset::modelFollowsEveryChange() {
    Fixture f;
    DatasetModel model(f.q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy current(&model, &DatasetModel::currentRowChanged);
    f.addRow("a");
    f.addRow("c");
    f.q.open();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(model.columnOf(QStringLiteral("filename")), Qt::Horizontal),
             QVariant(QStringLiteral("filename")));
    f.q.setCurrentRow(1);
    QCOMPARE(current.last().at(0).toInt(), 1);
    f.q.insert();
    f.q.setValue(QStringLiteral("filename"), QStringLiteral("b"));
    QCOMPARE(model.data(model.index(1, model.columnOf(QStringLiteral("filename")))),
             QVariant(QStringLiteral("b")));
    f.q.post();
    f.q.deleteRecord();
    QCOMPARE(model.rowCount(), 2);
    f.q.requery();
    QCOMPARE(model.rowCount(), 2);
    f.q.close();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
}

QTEST_MAIN(TestDataset)
#include "tst_Dataset.moc"
