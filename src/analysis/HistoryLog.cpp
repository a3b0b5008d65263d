#include "analysis/HistoryLog.h"

#include "platform/CodePage1250.h"
#include "platform/DurableFile.h"

namespace veritam::HistoryLog {

QString path(const QString& dataFolder) {
    return dataFolder + QStringLiteral("history_log.txt");
}

void AppendHistoryLog(const QString& dataFolder, const QString& line) {
    const QString file = path(dataFolder);
    QByteArray content = DurableFile::readIfExists(file);
    // Every line ends with CR LF; a last line without one gets it.
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += content.endsWith('\r') ? "\n" : "\r\n";
    content += CodePage1250::encode(line) + "\r\n";
    // The whole log is written aside and replaces the old one only once it is on disk:
    // a full disk or a crash never leaves a shorter log.
    DurableFile::replace(file, content);
}

} // namespace veritam::HistoryLog
