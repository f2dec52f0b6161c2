#include "RatioRegistry.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace {

// Prints as usual and remembers each benchmark's mean real time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nanoseconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                nanoseconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() * multiplier(run.time_unit);
            }
        }
    }

private:
    static double multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kSecond:
            return 1e9;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kMicrosecond:
            return 1e3;
        default:
            return 1.0;
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    for (const RegisteredRatio& entry : registeredRatios()) {
        if (entry.check) {
            entry.check();
        }
    }
    // The presented cases draw into real windows, on the display given, if any.
    std::unique_ptr<QApplication> application;
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-70s %12s %12s %8s %6s\n", "ratio", "measured ns", "floor ns", "ratio", "goal");
    for (const RegisteredRatio& entry : registeredRatios()) {
        const Ratio& ratio = entry.ratio;
        const auto measured = reporter.nanoseconds.find(ratio.measured);
        const auto floor = reporter.nanoseconds.find(ratio.floor);
        if (measured == reporter.nanoseconds.end() || floor == reporter.nanoseconds.end()) {
            continue;
        }
        std::printf("%-70s %12.0f %12.0f %8.3f %6.2f\n", ratio.title.c_str(), measured->second,
                    floor->second, measured->second / floor->second, ratio.goal);
    }
    return 0;
}
