// A whole information page of the simulator's layout: the noise that changes on every
// request (time stamps, tokens) never reaches a section.
#include "PortalSimulator.h"
#include "TestSupport.h"

#include "analysis/Fingerprint.h"
#include "analysis/SectionExtractor.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

using namespace veritam;
using namespace veritam::test;

class TestInformationPage : public QObject {
    Q_OBJECT
private slots:
    void noiseChangesNoField();
};

void TestInformationPage::noiseChangesNoField() {
    PortalSimulator sim(QJsonDocument::fromJson(R"({
      "territories": [{"code": 602582, "name": "Benice"}],
      "municipalities": [{"code": 554804, "name": "Ústí nad Labem", "parts": [{"code": 8958, "name": "Božtěšice"}]}],
      "objects": [
        {"id": "p", "kind": "parcel", "territory": 602582, "number": "345", "subdivision": "6", "area": "1254",
         "owners": [["Vlastnické právo", ""], ["Nguyễn Văn Ánh, Benická 12", "1/2"]],
         "restrictions": [["Zástavní právo smluvní", "Banka, a.s."]]},
        {"id": "u", "kind": "unit", "municipality": 554804, "part": 8958, "building": "1200", "unit": "14",
         "share": "6543/120000", "owners": [["Dvořák Tomáš", ""]]}]})")
                            .object());
    QNetworkAccessManager network;
    const auto fetch = [&](const char* id) {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/ZobrazObjekt?id=%2")
                                         .arg(sim.port())
                                         .arg(QString::fromLatin1(id))));
        request.setRawHeader("Host",
                             QStringLiteral("nahlizeni.portal.test:%1").arg(sim.port()).toUtf8());
        QNetworkReply* reply = network.get(request);
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(10000);
        reply->deleteLater();
        return QString::fromUtf8(reply->readAll());
    };
    for (const char* id : {"p", "u"}) {
        const QString first = fetch(id);
        QTest::qWait(5);
        const QString second = fetch(id);
        QVERIFY(first != second); // the noise differs
        const TParseKatastr a = ExtractSections(first);
        const TParseKatastr b = ExtractSections(second);
        for (const SectionRow& row : sectionTable())
            QCOMPARE(a[row.section].toUtf8(), b[row.section].toUtf8());
        if (qstrcmp(id, "p") == 0) {
            QCOMPARE(a.vymera, QStringLiteral("1254"));
            QCOMPARE(a.vlastnici,
                     QStringLiteral("Vlastnické právo\nNguyễn Văn Ánh, Benická 12\t1/2"));
            QCOMPARE(a.ochrana, QStringLiteral("Není evidován žádný způsob ochrany."));
            QCOMPARE(a.omezeni, QStringLiteral("Zástavní právo smluvní\tBanka, a.s."));
            QCOMPARE(a.podil, QString());
        } else {
            QCOMPARE(a.podil, QStringLiteral("6543/120000"));
            QCOMPARE(a.vymera, QString());
        }
    }
}

QTEST_GUILESS_MAIN(TestInformationPage)
#include "tst_InformationPage.moc"
