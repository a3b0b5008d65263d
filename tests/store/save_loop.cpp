// Saves records through the data module until it is killed: inserts parcels with their
// change rows and edits them, as the editor and the check runs do. Used by the crash test.
#include "TestSupport.h"

#include <QCoreApplication>

#include <cstdio>

using namespace veritam;
using namespace veritam::test;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    RecordingMessages messages;
    RecordingEditor editor;
    TDM1 dm(messages, editor);
    dm.DataModuleCreate(QString::fromLocal8Bit(argv[1]));
    Dataset& q = dm.Parcely_Query;
    for (int n = 1;; ++n) {
        q.insert();
        q.setValue(QStringLiteral("cislo_1"), n);
        q.setValue(QStringLiteral("nazev"), QStringLiteral("parcela %1").arg(n));
        q.post();
        const int id = dm.GetMaxId(QStringLiteral("parcely"), QStringLiteral("ID")).toInt();
        dm.UpdateField(id, QStringLiteral("parcely"), QStringLiteral("hash_vlastnici"),
                       TDM1::QuotedLiteral(QStringLiteral("%1").arg(n)));
        dm.InsertChange(QStringLiteral("zmeny_parcel"), QStringLiteral("id_parcely"),
                        QString::number(id), QDateTime::currentDateTime(),
                        QStringLiteral("historie/parcely/parcela-id-%1/x.html").arg(id));
        if (n == 1) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
