#pragma once

#include <QString>

namespace veritam {

/// history_log.txt in the data folder: Windows-1250 lines, each ended by CR LF.
namespace HistoryLog {

QString path(const QString& dataFolder);

/// Appends one line. A missing file is an empty log; a file that cannot be read is left
/// as it is. A failed write is undone, so the log never shortens and never keeps half a
/// line. Throws FileError.
void AppendHistoryLog(const QString& dataFolder, const QString& line);

} // namespace HistoryLog
} // namespace veritam
