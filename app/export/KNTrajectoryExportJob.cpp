#include "KNTrajectoryExportJob.h"

#include "KNDefinitions.h"
#include "KNScriptPathDriver.h"
#include "SeedNumber.h"

#include <algorithm>
#include <utility>

namespace {

// A few milliseconds of formatting.
constexpr std::int32_t rowsPerPiece = 4096;

std::vector<std::string> namesOf(const std::vector<kinora::Parameter>& parameters) {
    std::vector<std::string> names;
    for (const kinora::Parameter& parameter : parameters) {
        names.push_back(parameter.name);
    }
    return names;
}

} // namespace

KNTrajectoryExportJob::KNTrajectoryExportJob(KNTrajectorySnapshot taken, const std::string& path,
                                             std::unique_ptr<KNOutputFile> output)
    : snapshot(std::move(taken)), name(KNOutputFile::describe(path)), integrator(snapshot.step),
      system(snapshot.evolution, &integrator, static_cast<int>(snapshot.parameters.size())),
      file(std::move(output)),
      csv(namesOf(snapshot.parameters),
          [this](std::string_view chunk) {
              return file->write(chunk.data(), static_cast<qint64>(chunk.size()));
          }),
      parameterValues(snapshot.parameters.size()) {
    system.parameters = snapshot.parameters;
    if (snapshot.engine) {
        driver = std::make_unique<KNScriptPathDriver>(*snapshot.engine);
    } else {
        driver = makePathDriver(snapshot.evolution);
    }
    for (const KNTrajectorySnapshot::SeedFanShape& seed : snapshot.seeds) {
        rowCount += static_cast<std::int64_t>(seed.evolutions) * snapshot.vertexCount;
    }
}

std::unique_ptr<KNTrajectoryExportJob> KNTrajectoryExportJob::open(KNTrajectorySnapshot snapshot,
                                                                   const std::string& path,
                                                                   KNOutputFile::Streams streams,
                                                                   KNError* error) {
    std::string problem;
    std::unique_ptr<KNOutputFile> file = KNOutputFile::open(path, streams, &problem);
    if (!file) {
        if (error) {
            *error = {"KNExportErrorDomain", 0,
                      "Cannot export the trajectories " + KNOutputFile::describe(path) + ": " +
                          problem + "."};
        }
        return nullptr;
    }
    std::unique_ptr<KNTrajectoryExportJob> job(
        new KNTrajectoryExportJob(std::move(snapshot), path, std::move(file)));
    job->written = job->csv.writeHeader();
    return job;
}

bool KNTrajectoryExportJob::workUntil(Clock::time_point deadline) {
    while (written && !pathFailure && seedIndex < snapshot.seeds.size()) {
        workPiece();
        if (Clock::now() >= deadline && seedIndex < snapshot.seeds.size()) {
            return false;
        }
    }
    if (!written || pathFailure) {
        return true;
    }
    if (!sync) {
        written = csv.finish();
        if (!written) {
            return true;
        }
        sync = std::make_unique<KNBackgroundFileWrite>(
            file->handle(), [](std::string*) { return std::optional<QByteArray>(QByteArray()); });
    }
    return sync->waitUntil(deadline);
}

void KNTrajectoryExportJob::workPiece() {
    if (!fanStarted) {
        const KNTrajectorySnapshot::SeedFanShape& seed = snapshot.seeds[seedIndex];
        fan.start(seed.position, seed.evolutions, snapshot.vertexCount);
        fanStarted = true;
        pathIndex = 0;
        row = 0;
    }
    if (pathIndex == fan.evolutionCount()) {
        ++seedIndex;
        fanStarted = false;
    } else if (pathIndex < fan.completedCount()) {
        writeRowsOfCompletedPath();
    } else {
        advanceFan();
    }
}

void KNTrajectoryExportJob::writeRowsOfCompletedPath() {
    const kinora::FanPath& path = fan.path(pathIndex);
    if (row == 0 && (path.outcome.stopped || !path.outcome.error.empty())) {
        pathFailure = path.outcome.stopped
                          ? "the system's evolution function ran too long and was stopped"
                          : "the system's evolution function failed (" + path.outcome.error + ")";
        return;
    }
    if (row == 0) {
        // The values this evolution ran with, by the sweep's own formula.
        for (std::size_t i = 0; i < parameterValues.size(); ++i) {
            const kinora::Parameter& parameter = snapshot.parameters[i];
            parameterValues[i] = parameter.valueAtFraction(path.s);
        }
    }
    const std::int32_t end = std::min(row + rowsPerPiece, fan.vertexCount());
    written = csv.writeRows(static_cast<int>(kinora::seedNumber(seedIndex)), pathIndex, path.s,
                            parameterValues, snapshot.step, path.states.data(), row, end);
    rowsWritten += end - row;
    row = end;
    if (row == fan.vertexCount()) {
        ++pathIndex;
        row = 0;
    }
}

void KNTrajectoryExportJob::advanceFan() {
    const auto started = Clock::now();
    fan.advance(system, *driver, stepBudget.steps());
    stepBudget.adapt(Clock::now() - started);
}

double KNTrajectoryExportJob::progress() const {
    return rowCount == 0 ? 1.0 : static_cast<double>(rowsWritten) / static_cast<double>(rowCount);
}

KNExportJob::Outcome KNTrajectoryExportJob::finish() {
    std::optional<std::string> reason;
    if (pathFailure) {
        reason = *pathFailure + ", so its paths are incomplete";
    } else {
        reason = KNBackgroundFileWrite::commit(*file, written ? sync.get() : nullptr);
    }
    if (reason) {
        return {Outcome::Kind::failed,
                {},
                {"KNExportErrorDomain", 0,
                 "Cannot export the trajectories " + name + ": " + *reason + "." +
                     (file->keepsEarlierFile() ? " Any earlier file is unchanged." : "")}};
    }
    return {Outcome::Kind::written, "Exported the trajectories to " + name + ".", {}};
}
