#pragma once

#include "KNExportJob.h"
#include "KNRecomputation.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class KNStatusReporter;

// Runs a window's export in slices from the event loop (KNRecomputation), so the window goes on
// answering while a long one runs: its progress shows in the status bar, and its end too when
// the file was written or the job gave up; a failure goes to the failure handler, one alert.
// One export at a time.
class KNExportRunner {
public:
    using FailureHandler = std::function<void(const KNError& error)>;

    KNExportRunner();

    // The first slice runs at once. Not while another export runs.
    void start(std::unique_ptr<KNExportJob> job, KNStatusReporter* status,
               FailureHandler onFailure);
    bool isRunning() const { return static_cast<bool>(job); }
    // The file of the running export, in quotes; empty when none runs.
    std::string runningFileName() const;
    // Drops the running export, writing nothing, and says so; false when none runs.
    bool cancel();
    // The lengths of the first and the later slices of exports started from now on.
    void setSlices(std::chrono::milliseconds first, std::chrono::milliseconds later);

private:
    bool workUntil(KNExportJob::Clock::time_point deadline);
    void finish();

    std::unique_ptr<KNExportJob> job;
    KNStatusReporter* status = nullptr;
    FailureHandler onFailure;
    KNRecomputation slices;
    // The alert comes once the slice is over, so its dialog never runs inside the slicer; gone
    // with the runner, and the alert with it.
    QObject alertContext;
};
