#include "KNOrbitDiagramComputation.h"

#include "OrbitDiagramJob.h"
#include "OrbitDiagramRun.h"

namespace {
// How often the completed columns are collected and shown.
constexpr int collectMilliseconds = 60;
} // namespace

KNOrbitDiagramComputation::KNOrbitDiagramComputation(
    std::function<void(const Columns&)> columns,
    std::function<void(int, int, const std::string&)> progress)
    : columns(std::move(columns)), progress(std::move(progress)) {
    poll.setInterval(collectMilliseconds);
    QObject::connect(&poll, &QTimer::timeout, [this] { collect(); });
}

KNOrbitDiagramComputation::~KNOrbitDiagramComputation() {
    stop();
}

void KNOrbitDiagramComputation::start(const kinora::Exploration& exploration,
                                      const kinora::AnalysisPanelSettings& settings) {
    stop();
    job = std::make_unique<kinora::OrbitDiagramJob>(exploration, settings);
    // The window's own thread comes first, so it answers input while every core computes.
    run = std::make_unique<kinora::OrbitDiagramRun>(job->diagram(), 0, settings.orbit.resolution,
                                                    job->threads(),
                                                    kinora::OrbitDiagramRun::Priority::background);
    done = 0;
    progress(0, settings.orbit.resolution, {});
    poll.start();
}

void KNOrbitDiagramComputation::stop() {
    poll.stop();
    run.reset();
    job.reset();
}

void KNOrbitDiagramComputation::finish() {
    if (run) {
        run->waitUntilComplete(kinora::OrbitDiagramRun::Clock::time_point::max());
        collect();
    }
}

void KNOrbitDiagramComputation::collect() {
    const Columns completed = run->takeCompleted();
    const int total = run->columnCount();
    done += static_cast<int>(completed.size());
    std::string problem;
    for (const auto& [k, column] : completed) {
        if (!column.error.empty()) {
            problem = column.error;
        }
    }
    columns(completed);
    progress(done, total, problem);
    if (!problem.empty() || done == total) {
        stop();
    }
}
