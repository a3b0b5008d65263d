#pragma once

#include "platform/UserMessages.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace veritam::bench {

/// Messages of the code under measurement go to standard error, out of the figures.
class StderrMessages : public UserMessages {
public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void showError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

/// The median wall time of `runs` runs of `work`, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/// One figure; a goal of 0 means the figure is for information only.
inline void report(const char* what, double ms, double goalMs = 0) {
    if (goalMs <= 0)
        std::printf("%-48s %9.2f ms\n", what, ms);
    else
        std::printf("%-48s %9.2f ms   (goal < %.0f ms)%s\n", what, ms, goalMs,
                    ms < goalMs ? "" : "   MISSED");
    std::fflush(stdout);
}

} // namespace veritam::bench
