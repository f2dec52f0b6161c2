#include "KNAnalysisTable.h"

#include "FindingsAnalyst.h"
#include "KNBuiltinSystems.h"
#include "KNDefinitions.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"
#include "KNTrajectoryCsv.h"
#include "OrbitDiagram.h"
#include "RK4Integrator.h"
#include "SeedFan.h"
#include "SeedNumber.h"
#include "Trajectory.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

namespace {

constexpr double orbitTransientTime = 100.0;
constexpr double orbitRecordedTime = 100.0;
const char* const axisNames[] = {"x", "y", "z"};

std::unique_ptr<kinora::PathDriver> driverFor(const KNTrajectorySnapshot& snapshot) {
    if (snapshot.engine) {
        return std::make_unique<KNScriptPathDriver>(*snapshot.engine);
    }
    return makePathDriver(snapshot.evolution);
}

// Computes one table row by row into its text; every evolution's parameter values are handed to
// the system (and a script's engine) before anything is evaluated at them.
class TableBuilder {
public:
    TableBuilder(const KNTrajectorySnapshot& snapshot, const KNAnalysisRequest& request)
        : snapshot(snapshot), request(request), integrator(snapshot.step),
          system(snapshot.evolution, &integrator, 0), driver(driverFor(snapshot)),
          analyst(snapshot, system, *driver, jacobianOf(snapshot.evolution)) {}

    std::optional<KNAnalysisTable::Result> build(std::string* problem) {
        if (const std::string error = analyst.begin(); !error.empty()) {
            *problem = error;
            return std::nullopt;
        }
        std::string error;
        switch (request.table) {
        case KNAnalysisRequest::Table::equilibria:
            error = equilibria();
            break;
        case KNAnalysisRequest::Table::lyapunov:
            error = lyapunov();
            break;
        case KNAnalysisRequest::Table::crossings:
            error = crossings();
            break;
        case KNAnalysisRequest::Table::orbitDiagram:
            error = orbitDiagram();
            break;
        }
        if (!error.empty()) {
            *problem = error;
            return std::nullopt;
        }
        return result;
    }

private:
    // Values first ... end − 1 of `count` that the request's part covers.
    std::pair<std::int32_t, std::int32_t> partOf(std::int32_t count) const {
        const auto bound = [&](int k) {
            return static_cast<std::int32_t>(static_cast<std::int64_t>(count) * k / request.parts);
        };
        return {bound(request.part - 1), bound(request.part)};
    }

    std::int32_t evolutions() const { return analyst.evolutions(); }

    void header(const std::string& leading, const std::string& trailing) {
        result.text += leading;
        for (const kinora::Parameter& parameter : snapshot.parameters) {
            result.text += ',' + KNTrajectoryCsv::field(parameter.name);
        }
        result.text += trailing + '\n';
    }

    void number(double value) {
        result.text += ',';
        KNTrajectoryCsv::appendNumber(result.text, value);
    }

    // s and every parameter's value at s.
    void sweepPoint(double s) {
        KNTrajectoryCsv::appendNumber(result.text, s);
        for (const kinora::Parameter& parameter : snapshot.parameters) {
            number(parameter.valueAtFraction(s));
        }
    }

    // Whether the time limit stopped a script while the analysis evaluated it.
    std::string evaluationProblem() const {
        return snapshot.engine && snapshot.engine->callWasStopped() ? stoppedText() : "";
    }

    static std::string stoppedText() {
        return "the system's evolution function ran too long and was stopped.";
    }

    std::string equilibria() {
        header("evolution,s", ",x,y,z,re1,im1,re2,im2,re3,im3,class");
        int starts = 0;
        kinora::EquilibriumSearchResult failures;
        const auto [first, end] = partOf(evolutions());
        for (std::int32_t m = first; m < end; ++m) {
            if (std::string error = analyst.beginEvolution(m); !error.empty()) {
                return error;
            }
            kinora::EquilibriumSearchResult found;
            int tried = 0;
            if (std::string error = analyst.equilibria(&found, &tried); !error.empty()) {
                return error;
            }
            if (std::string error = evaluationProblem(); !error.empty()) {
                return error;
            }
            starts += tried;
            failures.leftFiniteRange += found.leftFiniteRange;
            failures.singular += found.singular;
            failures.notConverged += found.notConverged;
            for (const kinora::Equilibrium& point : found.equilibria) {
                result.text += std::to_string(m) + ',';
                sweepPoint(kinora::sweepFraction(m, evolutions()));
                number(point.position.x);
                number(point.position.y);
                number(point.position.z);
                for (const std::complex<double>& value : point.eigenvalues) {
                    number(value.real());
                    number(value.imag());
                }
                result.text += ',' + kinora::stabilityClassName(point.stability) + '\n';
            }
        }
        const int failed = failures.leftFiniteRange + failures.singular + failures.notConverged;
        if (failed > 0) {
            result.notes.push_back(std::to_string(failed) + " of " + std::to_string(starts) +
                                   " Newton starts found no equilibrium (" +
                                   std::to_string(failures.leftFiniteRange) +
                                   " left the finite range, " + std::to_string(failures.singular) +
                                   " met a singular Jacobian, " +
                                   std::to_string(failures.notConverged) + " did not converge).");
        }
        return {};
    }

    std::string lyapunov() {
        header("seed,evolution,s", ",exponent,problem");
        const auto [first, end] = partOf(evolutions());
        for (std::int32_t m = first; m < end; ++m) {
            if (std::string error = analyst.beginEvolution(m); !error.empty()) {
                return error;
            }
            for (std::size_t k = 0; k < snapshot.seeds.size(); ++k) {
                const auto estimate = analyst.exponent(snapshot.seeds[k].position);
                if (std::string error = evaluationProblem(); !error.empty()) {
                    return error;
                }
                result.text +=
                    std::to_string(kinora::seedNumber(k)) + ',' + std::to_string(m) + ',';
                sweepPoint(kinora::sweepFraction(m, evolutions()));
                result.text += ',';
                if (estimate.exponent) {
                    KNTrajectoryCsv::appendNumber(result.text, *estimate.exponent);
                }
                result.text += ',' + KNTrajectoryCsv::field(estimate.problem) + '\n';
            }
        }
        return {};
    }

    std::string crossings() {
        if (!request.section) {
            return "--table crossings needs a section plane: --section AXIS=VALUE, for example "
                   "z=27.";
        }
        header("seed,evolution,s", ",t,x,y,z");
        const auto [first, end] = partOf(evolutions());
        std::vector<double> states;
        for (std::int32_t m = first; m < end; ++m) {
            if (std::string error = analyst.beginEvolution(m); !error.empty()) {
                return error;
            }
            for (std::size_t k = 0; k < snapshot.seeds.size(); ++k) {
                const kinora::Vector3 seed = snapshot.seeds[k].position;
                if (std::string error = analyst.path(seed, &states); !error.empty()) {
                    return error;
                }
                const auto found =
                    request.section->crossings(system, seed, states.data(), snapshot.vertexCount);
                if (std::string error = evaluationProblem(); !error.empty()) {
                    return error;
                }
                for (const kinora::SectionCrossing& crossing : found) {
                    result.text +=
                        std::to_string(kinora::seedNumber(k)) + ',' + std::to_string(m) + ',';
                    sweepPoint(kinora::sweepFraction(m, evolutions()));
                    number(crossing.time);
                    number(crossing.state.x);
                    number(crossing.state.y);
                    number(crossing.state.z);
                    result.text += '\n';
                }
            }
        }
        return {};
    }

    std::string orbitDiagram() {
        if (snapshot.seeds.empty()) {
            return "an orbit diagram starts from the first seed, and there is none.";
        }
        kinora::OrbitDiagramSettings settings;
        settings.resolution = request.orbitValues;
        settings.seed = snapshot.seeds.front().position;
        const auto steps = [this](double time) {
            return static_cast<std::int32_t>(std::min<double>(
                kinora::wholeStepCount(time, snapshot.step), kinora::maxTrajectoryVertices));
        };
        settings.transientSteps = steps(orbitTransientTime);
        settings.recordedSteps = steps(orbitRecordedTime);
        if (request.section) {
            settings.quantity = kinora::OrbitQuantity::sectionCrossings;
            settings.section = *request.section;
            // The first coordinate within the plane.
            settings.plotted = request.section->axis == 0 ? 1 : 0;
        } else {
            settings.quantity = kinora::OrbitQuantity::localMaxima;
            settings.plotted = request.maximaVariable;
        }
        header("s",
               std::string(",") + (request.section ? "" : "max ") + axisNames[settings.plotted]);
        kinora::OrbitDiagram::DriverFactory makeDriver;
        int threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        if (snapshot.engine) {
            // A script is evaluated by its engine on this thread only.
            threads = 1;
            makeDriver = [engine = snapshot.engine] {
                return std::make_unique<KNScriptPathDriver>(*engine);
            };
        }
        const kinora::OrbitDiagram diagram(system, settings, makeDriver);
        const auto [first, end] = partOf(settings.resolution);
        int lost = 0;
        for (const kinora::OrbitColumn& column : diagram.columns(first, end, threads)) {
            if (!column.error.empty()) {
                return column.error;
            }
            lost += column.leftFiniteRange ? 1 : 0;
            for (const double value : column.values) {
                sweepPoint(column.s);
                number(value);
                result.text += '\n';
            }
        }
        if (std::string error = evaluationProblem(); !error.empty()) {
            return error;
        }
        if (lost > 0) {
            result.notes.push_back(std::to_string(lost) + " of " + std::to_string(end - first) +
                                   " orbits left the finite range; their columns end there.");
        }
        return {};
    }

    const KNTrajectorySnapshot& snapshot;
    const KNAnalysisRequest& request;
    kinora::RK4Integrator integrator;
    KinoraSystem system;
    std::unique_ptr<kinora::PathDriver> driver;
    kinora::FindingsAnalyst analyst;
    KNAnalysisTable::Result result;
};

} // namespace

std::optional<KNAnalysisTable::Result>
KNAnalysisTable::compute(const KNTrajectorySnapshot& snapshot, const KNAnalysisRequest& request,
                         std::string* problem) {
    return TableBuilder(snapshot, request).build(problem);
}
