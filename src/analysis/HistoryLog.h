#pragma once

#include <QString>

namespace veritam {

/// history_log.txt in the data folder: Windows-1250 lines, each ended by CR LF.
namespace HistoryLog {

QString path(const QString& dataFolder);

/// Appends one line. A missing file is an empty log; a file that cannot be read is left
/// as it is. The file is replaced whole once the new one is on disk, so a failure or a
/// crash leaves the old log or the new one, never a shorter one. Throws FileError.
void AppendHistoryLog(const QString& dataFolder, const QString& line);

} // namespace HistoryLog
} // namespace veritam
