#include <QtTest>
class TestJetSql : public QObject { Q_OBJECT };
QTEST_APPLESS_MAIN(TestJetSql)
#include "tst_JetSql.moc"
