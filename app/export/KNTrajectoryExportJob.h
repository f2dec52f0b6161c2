#pragma once

#include "KNBackgroundFileWrite.h"
#include "KNExportJob.h"
#include "KNOutputFile.h"
#include "KNTrajectoryCsvThread.h"
#include "KNTrajectorySnapshot.h"
#include "KinoraSystem.h"
#include "PathDriver.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "StepBudget.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Writes the trajectories of a snapshot as CSV (see KNTrajectoryCsv): seed by seed in the order
// they were placed, evolution by evolution, the doubles computed rather than the floats drawn.
// Each fan is computed by the job itself, piece by piece, so no slice takes long however long
// the paths are; each completed path is formatted and written on a thread of its own
// (KNTrajectoryCsvThread) while the next ones are computed, and so is the wait for the disk at
// the end.
class KNTrajectoryExportJob final : public KNExportJob {
public:
    // Opens the output at path (see KNOutputFile); null, with the reason in error, when it
    // cannot.
    static std::unique_ptr<KNTrajectoryExportJob> open(KNTrajectorySnapshot snapshot,
                                                       const std::string& path,
                                                       KNOutputFile::Streams streams,
                                                       KNError* error = nullptr);

    bool workUntil(Clock::time_point deadline) override;
    double progress() const override;
    Outcome finish() override;
    std::string quotedFileName() const override { return name; }

private:
    KNTrajectoryExportJob(KNTrajectorySnapshot snapshot, const std::string& path,
                          std::unique_ptr<KNOutputFile> file);

    // One piece of work: a completed path handed to the writing thread, or a few milliseconds
    // of integration. False when that thread had no room for the path by the deadline.
    bool workPiece(Clock::time_point deadline);
    bool handOverCompletedPath(Clock::time_point deadline);
    void advanceFan();

    KNTrajectorySnapshot snapshot;
    std::string name;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
    std::unique_ptr<kinora::PathDriver> driver;
    std::unique_ptr<KNOutputFile> file;
    // After the file, which it writes until it is destroyed.
    KNTrajectoryCsvThread writer;
    // Why a path cannot be exported: the script failed or was stopped while computing it, so
    // the rest of it is NaN rather than the system's values.
    std::optional<std::string> pathFailure;
    // Once every row is written: waits for the disk, so putting the file in place is quick.
    std::unique_ptr<KNBackgroundFileWrite> sync;

    kinora::SeedFan fan;
    // The seed whose fan is worked on, whether that fan was started, and its next path to hand
    // over.
    std::size_t seedIndex = 0;
    bool fanStarted = false;
    std::int32_t pathIndex = 0;
    kinora::StepBudget stepBudget;
    std::int64_t rowCount = 0;
};
