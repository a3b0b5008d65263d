#include "app/QuietDiagnostics.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace veritam {

void quietEngineDiagnostics() {
    if (qEnvironmentVariableIsSet("VERITAM_DEBUG"))
        return;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    // The engine's own log (its processes write to standard error directly): fatal only.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --log-level=3";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

} // namespace veritam
