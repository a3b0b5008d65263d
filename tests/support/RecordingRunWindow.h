#pragma once

#include "check/RunWindow.h"

#include <QStringList>

namespace veritam::test {

/// The main window's part in a full check run, kept for the test to read: the run log,
/// the change summary, whether the controls are enabled and whether the run ended the
/// program. For tests that link the check runs.
class RecordingRunWindow : public RunWindow {
public:
    void addLogLine(const QString& line) override { log.append(line); }
    void setStatus(const QString&, int, int, int) override {}
    void ZapnoutOvladaciZarizeni(bool enable) override { enabled = enable; }
    void setCheckButtonCaption(const QString&) override {}
    void normParcels() override {}
    void clearSummary() override { summary.clear(); }
    void addSummaryLine(const QString& line) override { summary.append(line); }
    bool summaryHasText() const override { return !summary.isEmpty(); }
    void showSummary() override {}
    void quitApplication() override { quit = true; }

    QStringList log;
    QStringList summary;
    bool enabled = true;
    bool quit = false;
};

} // namespace veritam::test
