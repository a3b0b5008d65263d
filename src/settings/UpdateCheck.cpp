#include "settings/UpdateCheck.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>
#include <QVersionNumber>

namespace veritam::UpdateCheck {

namespace {

/// The first "1.2.3" of a text; nothing when it holds none.
QVersionNumber versionIn(const QByteArray& text) {
    static const QRegularExpression version(QStringLiteral("^\\s*(\\d+(\\.\\d+){0,3})\\s*$"));
    const QRegularExpressionMatch m = version.match(QString::fromUtf8(text.left(64)));
    return m.hasMatch() ? QVersionNumber::fromString(m.captured(1)) : QVersionNumber();
}

} // namespace

QString versionFileAddress() {
    const QString overridden = qEnvironmentVariable("VERITAM_UPDATE_URL");
    return overridden.isEmpty() ? QStringLiteral(VERITAM_UPDATE_URL) : overridden;
}

QString downloadPageAddress() {
    return QStringLiteral(VERITAM_DOWNLOAD_URL);
}

QString localVersionFile(const QString& programFolder) {
    // Beside the program in the build tree; an installed program's lies in its data folder.
    const QString beside = programFolder + QStringLiteral("veritam.txt");
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programFolder + QStringLiteral("../share/veritam/veritam.txt"));
}

Answer ZjistiVerzi(const QString& versionFileAddress, const QString& localVersionFile,
                   const QString&, const QString&, int, std::chrono::milliseconds timeLimit) {
    Answer answer;
    QFile local(localVersionFile);
    const QVersionNumber installed =
        local.open(QIODevice::ReadOnly) ? versionIn(local.readAll()) : QVersionNumber();
    if (installed.isNull()) {
        answer.problem = QStringLiteral("Verzi nainstalovaného programu nelze zjistit (soubor %1).")
                             .arg(localVersionFile);
        return answer;
    }
    answer.installed = installed.toString();

    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(versionFileAddress)};
    request.setTransferTimeout(static_cast<int>(timeLimit.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeLimit + std::chrono::seconds(1), &loop,
                       &QEventLoop::quit); // a last guard
    loop.exec();
    if (!reply->isFinished() || reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError) {
        reply->abort();
        answer.problem =
            QStringLiteral("Server s aktualizacemi neodpověděl včas. Zkuste to později.");
    } else if (reply->error() != QNetworkReply::NoError) {
        answer.problem = QStringLiteral("Server s aktualizacemi není dostupný (%1). Zkuste to "
                                        "později.")
                             .arg(reply->errorString());
    } else {
        const QVersionNumber offered = versionIn(reply->readAll());
        if (offered.isNull()) {
            answer.problem = QStringLiteral("Soubor s verzí na serveru aktualizací je poškozený. "
                                            "Zkuste to později.");
        } else {
            answer.offered = offered.toString();
            answer.newer = offered > installed;
        }
    }
    delete reply;
    return answer;
}

} // namespace veritam::UpdateCheck
