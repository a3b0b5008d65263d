#include "analysis/HistoryLog.h"

#include "platform/CodePage1250.h"
#include "platform/DurableFile.h"

namespace veritam::HistoryLog {

QString path(const QString& dataFolder) {
    return dataFolder + QStringLiteral("history_log.txt");
}

void AppendHistoryLog(const QString& dataFolder, const QString& line) {
    const QString file = path(dataFolder);
    // Every line ends with CR LF; a last line without one gets it.
    const QByteArray last = DurableFile::tail(file, 1);
    QByteArray content;
    if (!last.isEmpty() && last != "\n")
        content = last == "\r" ? "\n" : "\r\n";
    content += CodePage1250::encode(line) + "\r\n";
    // Added in place and synced; a write that fails is undone, so the log never shortens
    // and never keeps half a line.
    DurableFile::append(file, content);
}

} // namespace veritam::HistoryLog
