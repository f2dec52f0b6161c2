#include "KNTrajectoryExportJob.h"

#include "KNDefinitions.h"
#include "KNScriptPathDriver.h"
#include "SeedNumber.h"

#include <cstddef>
#include <utility>

namespace {

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
      file(std::move(output)), writer(namesOf(snapshot.parameters), [this](std::string_view chunk) {
          return file->write(chunk.data(), static_cast<qint64>(chunk.size()));
      }) {
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
    return std::unique_ptr<KNTrajectoryExportJob>(
        new KNTrajectoryExportJob(std::move(snapshot), path, std::move(file)));
}

bool KNTrajectoryExportJob::workUntil(Clock::time_point deadline) {
    while (!writer.failed() && !pathFailure && seedIndex < snapshot.seeds.size()) {
        if (!workPiece(deadline) ||
            (Clock::now() >= deadline && seedIndex < snapshot.seeds.size())) {
            return false;
        }
    }
    if (pathFailure) {
        return true;
    }
    if (!sync) {
        if (!writer.writeAllBy(deadline)) {
            return false;
        }
        if (writer.failed()) {
            return true;
        }
        sync = std::make_unique<KNBackgroundFileWrite>(
            file->handle(), [](std::string*) { return std::optional<QByteArray>(QByteArray()); });
    }
    return sync->waitUntil(deadline);
}

bool KNTrajectoryExportJob::workPiece(Clock::time_point deadline) {
    if (!fanStarted) {
        const KNTrajectorySnapshot::SeedFanShape& seed = snapshot.seeds[seedIndex];
        fan.start(seed.position, seed.evolutions, snapshot.vertexCount);
        fanStarted = true;
        pathIndex = 0;
    }
    if (pathIndex == fan.evolutionCount()) {
        ++seedIndex;
        fanStarted = false;
    } else if (pathIndex < fan.completedCount()) {
        return handOverCompletedPath(deadline);
    } else {
        advanceFan();
    }
    return true;
}

bool KNTrajectoryExportJob::handOverCompletedPath(Clock::time_point deadline) {
    const kinora::FanPath& path = fan.path(pathIndex);
    if (path.outcome.stopped || !path.outcome.error.empty()) {
        pathFailure = path.outcome.stopped
                          ? "the system's evolution function ran too long and was stopped"
                          : "the system's evolution function failed (" + path.outcome.error + ")";
        return true;
    }
    if (!writer.hasRoomBy(deadline)) {
        return false;
    }
    KNTrajectoryCsvThread::Path rows{
        static_cast<int>(kinora::seedNumber(seedIndex)), pathIndex, path.s, {}, snapshot.step, {}};
    // The values this evolution ran with, by the sweep's own formula.
    for (const kinora::Parameter& parameter : snapshot.parameters) {
        rows.parameterValues.push_back(parameter.valueAtFraction(path.s));
    }
    // Copied, since the fan reuses its buffers for the next seed.
    rows.states.assign(path.states.begin(),
                       path.states.begin() + 3 * static_cast<std::ptrdiff_t>(fan.vertexCount()));
    writer.add(std::move(rows));
    ++pathIndex;
    return true;
}

void KNTrajectoryExportJob::advanceFan() {
    const auto started = Clock::now();
    fan.advance(system, *driver, stepBudget.steps());
    stepBudget.adapt(Clock::now() - started);
}

double KNTrajectoryExportJob::progress() const {
    return rowCount == 0
               ? 1.0
               : static_cast<double>(writer.rowsWritten()) / static_cast<double>(rowCount);
}

KNExportJob::Outcome KNTrajectoryExportJob::finish() {
    std::optional<std::string> reason;
    if (pathFailure) {
        reason = *pathFailure + ", so its paths are incomplete";
    } else {
        reason = KNBackgroundFileWrite::commit(*file, writer.failed() ? nullptr : sync.get());
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
