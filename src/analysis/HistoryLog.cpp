#include "analysis/HistoryLog.h"

#include "analysis/SectionExtractor.h"
#include "platform/CodePage1250.h"

#include <QFile>
#include <QSaveFile>

namespace veritam::HistoryLog {

QString path(const QString& dataFolder) {
    return dataFolder + QStringLiteral("history_log.txt");
}

void AppendHistoryLog(const QString& dataFolder, const QString& line) {
    const QString file = path(dataFolder);
    QByteArray content;
    QFile existing(file);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw AnalysisError(
                QStringLiteral("Soubor %1 nelze přečíst: %2").arg(file, existing.errorString()));
        content = existing.readAll();
        existing.close();
    }
    // Every line ends with CR LF; a last line without one gets it.
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += content.endsWith('\r') ? "\n" : "\r\n";
    content += CodePage1250::encode(line) + "\r\n";

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        throw AnalysisError(
            QStringLiteral("Do souboru %1 nelze zapisovat: %2").arg(file, out.errorString()));
}

} // namespace veritam::HistoryLog
