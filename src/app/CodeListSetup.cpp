#include "app/CodeListSetup.h"

#include "app/CodeListDownload.h"
#include "platform/UserMessages.h"
#include "store/CodeListImporter.h"
#include "store/DatabaseError.h"
#include "store/TDM1.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace veritam::CodeListSetup {

namespace {

const QString kKeptNote = QStringLiteral("\nDosavadní číselníky zůstaly beze změny.");

bool install(TDM1& dm, const QMap<QString, QByteArray>& files) {
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto tables = CodeListImporter::install(dm.ADOConnection, files);
        QApplication::restoreOverrideCursor();
        for (Dataset* q : {&dm.KatastralniUzemi_Query, &dm.Obce_Query, &dm.Parcely_Query,
                           &dm.Stavby_Query, &dm.Jednotky_Query})
            dm.Obnovit_Query(*q);
        dm.messages().showMessage(CodeListImporter::summary(tables));
        return true;
    } catch (const CodeListError& e) {
        QApplication::restoreOverrideCursor();
        dm.messages().showError(e.message() + kKeptNote);
    } catch (const DatabaseError& e) {
        QApplication::restoreOverrideCursor();
        dm.messages().showError(QStringLiteral("Číselníky nelze uložit do databáze: ") +
                                e.message());
    }
    return false;
}

} // namespace

bool codeListsEmpty(TDM1& dm) {
    try {
        auto q = dm.OpenStatement(QStringLiteral("SELECT COUNT(*) AS pocet FROM kat_uzemi_obce"));
        return q->integer(QStringLiteral("pocet")) == 0;
    } catch (const DatabaseError&) {
        return false; // no usable database; opening it has been reported already
    }
}

void offer(QWidget* parent, TDM1& dm, bool update) {
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Číselníky"),
        update ? QStringLiteral("Číselníky katastrálních území, obcí a částí obcí lze nahradit "
                                "aktuálními. Sledované nemovitosti zůstanou, jak jsou.\n\n"
                                "Stáhnout je nyní ze služby ČÚZK, nebo je načíst ze složky "
                                "se soubory CSV?")
               : QStringLiteral("Databáze zatím neobsahuje číselníky katastrálních území, obcí "
                                "a částí obcí, bez nichž nelze zadávat sledované nemovitosti.\n\n"
                                "Stáhnout je nyní ze služby ČÚZK, nebo je načíst ze složky "
                                "se soubory CSV?"),
        QMessageBox::NoButton, parent);
    QPushButton* fetch = box.addButton(QStringLiteral("Stáhnout"), QMessageBox::AcceptRole);
    QPushButton* folder = box.addButton(QStringLiteral("Ze složky…"), QMessageBox::ActionRole);
    box.addButton(update ? QStringLiteral("Zrušit") : QStringLiteral("Později"),
                  QMessageBox::RejectRole);
    box.setDefaultButton(fetch);
    box.exec();
    if (box.clickedButton() == fetch)
        download(parent, dm);
    else if (box.clickedButton() == folder)
        importFromFolder(parent, dm);
}

bool download(QWidget* parent, TDM1& dm) {
    const int lists = static_cast<int>(CodeListImporter::listNames().size());
    QProgressDialog progress(QStringLiteral("Stahuji číselníky…"), QStringLiteral("Zrušit"), 0,
                             lists * 100, parent);
    progress.setWindowTitle(QStringLiteral("Číselníky"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);

    CodeListDownload job(CodeListDownload::serviceUrl());
    QEventLoop loop;
    QMap<QString, QByteArray> files;
    QString failure;
    QObject::connect(&job, &CodeListDownload::progress, &progress,
                     [&](int list, qint64 done, qint64 total) {
                         const int share = total > 0 ? static_cast<int>(done * 100 / total) : 0;
                         progress.setLabelText(QStringLiteral("Stahuji číselník %1 (%2 z %3)…")
                                                   .arg(CodeListImporter::listNames().at(list))
                                                   .arg(list + 1)
                                                   .arg(lists));
                         progress.setValue(list * 100 + share);
                     });
    QObject::connect(&job, &CodeListDownload::finished, &loop,
                     [&](const QMap<QString, QByteArray>& result) {
                         files = result;
                         loop.quit();
                     });
    QObject::connect(&job, &CodeListDownload::failed, &loop, [&](const QString& message) {
        failure = message;
        loop.quit();
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &job, &CodeListDownload::abort);
    job.start();
    loop.exec();
    const bool cancelled = progress.wasCanceled(); // reset() forgets it
    progress.reset();

    if (!failure.isEmpty()) {
        if (!cancelled)
            dm.messages().showError(failure + kKeptNote);
        return false;
    }
    return install(dm, files);
}

bool importFromFolder(QWidget* parent, TDM1& dm) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Složka s číselníky (UI_KATASTRALNI_UZEMI.csv, UI_OBEC.csv, "
                               "UI_OKRES.csv, UI_CAST_OBCE.csv)"));
    if (folder.isEmpty())
        return false;
    try {
        return install(dm, CodeListImporter::readFolder(folder));
    } catch (const CodeListError& e) {
        dm.messages().showError(e.message() + kKeptNote);
        return false;
    }
}

} // namespace veritam::CodeListSetup
