// Records changes of one watched parcel through the change recorder until it is killed:
// every check finds the area one higher than stored. Used by the change recorder's crash
// test.
#include "TestSupport.h"

#include "analysis/ChangeRecorder.h"
#include "store/WatchedRecord.h"

#include <QCoreApplication>

#include <cstdio>

using namespace veritam;
using namespace veritam::test;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    OpenedStore store(QString::fromLocal8Bit(argv[1]));
    if (store.scalar(QStringLiteral("SELECT COUNT(*) FROM parcely")).toInt() == 0)
        store.exec(QStringLiteral("INSERT INTO parcely (user_id, uzemi, druh_cislovani, cislo_1, "
                                  "nazev) VALUES (1, 602582, 2, 7, 'Zahrada')"));
    for (bool first = true;; first = false) {
        const auto row = store.dm.OpenStatement(QStringLiteral("SELECT * FROM parcely"));
        TParseKatastr sections;
        sections.vymera = QString::number(row->text(QStringLiteral("hash_vymera")).toInt() + 1);
        ChangeRecorder::CompareAndRecord(store.dm, WatchedRecord::read(RecordKind::Parcel, *row),
                                         sections, QStringLiteral("<body>strana</body>\r\n"));
        if (first) {
            std::puts("recording");
            std::fflush(stdout);
        }
    }
}
