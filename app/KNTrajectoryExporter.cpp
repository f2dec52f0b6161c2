#include "KNTrajectoryExporter.h"

#include "KNPlotView.h"
#include "KNPlotWindowController.h"
#include "KNTrajectoryCsv.h"
#include "SeedFan.h"

#include <QSaveFile>
#include <filesystem>
#include <vector>

bool KNTrajectoryExporter::write(KNPlotWindowController& controller, const std::string& path,
                                 KNError* error) {
    const std::string name = "\"" + std::filesystem::path(path).filename().string() + "\"";
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered, so a write that fails is seen before the file is renamed into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) {
            *error = {"KNExportErrorDomain", 0,
                      "Cannot export the trajectories " + name + ": " +
                          file.errorString().toStdString() + "."};
        }
        return false;
    }

    KinoraSystem& system = controller.system();
    std::vector<std::string> names;
    for (const kinora::Parameter& parameter : system.parameters) {
        names.push_back(parameter.name);
    }
    KNTrajectoryCsv csv(names, [&file](std::string_view chunk) {
        return file.write(chunk.data(), static_cast<qint64>(chunk.size())) ==
               static_cast<qint64>(chunk.size());
    });
    bool written = csv.writeHeader();

    const double step = controller.integrator().integrationStep();
    kinora::SeedFan fan;
    std::vector<double> values(system.parameters.size());
    int seedIndex = 0;
    controller.plotView()->enumerateSeedsWithBlock([&](Seed* seed) {
        if (!written) {
            return;
        }
        controller.computeFan(seed, fan);
        for (std::int32_t m = 0; m < fan.evolutionCount() && written; ++m) {
            const kinora::FanPath& fanPath = fan.path(m);
            // The values this evolution ran with, by the sweep's own formula.
            for (std::size_t i = 0; i < values.size(); ++i) {
                const kinora::Parameter& parameter = system.parameters[i];
                values[i] = parameter.min() + (parameter.max() - parameter.min()) * fanPath.s;
            }
            written = csv.writePath(seedIndex, m, fanPath.s, values, step, fanPath.states.data(),
                                    fan.vertexCount());
        }
        ++seedIndex;
    });

    if (!written || !csv.finish() || !file.commit()) {
        if (error) {
            *error = {"KNExportErrorDomain", 0,
                      "Cannot export the trajectories " + name + ": " +
                          file.errorString().toStdString() + ". Any earlier file is unchanged."};
        }
        return false;
    }
    return true;
}
