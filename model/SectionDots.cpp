#include "SectionDots.h"

#include "KNScriptPathDriver.h"
#include "KNTrajectorySnapshot.h"
#include "RK4Integrator.h"
#include "Trajectory.h"

namespace kinora {

void SectionDots::fanStarted(std::size_t seedIndex, std::int32_t evolutions) {
    if (seeds.size() <= seedIndex) {
        seeds.resize(seedIndex + 1);
    }
    seeds[seedIndex].resize(static_cast<std::size_t>(std::max(evolutions, 0)));
}

void SectionDots::pathCompleted(std::size_t seedIndex, std::int32_t evolution,
                                std::vector<SectionDot> dots) {
    if (seeds.size() <= seedIndex) {
        seeds.resize(seedIndex + 1);
    }
    auto& paths = seeds[seedIndex];
    if (paths.size() <= static_cast<std::size_t>(evolution)) {
        paths.resize(static_cast<std::size_t>(evolution) + 1);
    }
    paths[static_cast<std::size_t>(evolution)] = std::move(dots);
}

void SectionDots::seedRemoved(std::size_t seedIndex) {
    if (seedIndex < seeds.size()) {
        seeds.erase(seeds.begin() + static_cast<std::ptrdiff_t>(seedIndex));
    }
}

std::vector<SectionDot> SectionDots::all() const {
    std::vector<SectionDot> result;
    for (const auto& paths : seeds) {
        for (const auto& dots : paths) {
            result.insert(result.end(), dots.begin(), dots.end());
        }
    }
    return result;
}

std::vector<SectionDot> SectionDots::crossingsOf(const KNTrajectorySnapshot& snapshot,
                                                 const PoincareSection& section, Vector3 seed,
                                                 const FanPath& path, std::int32_t vertexCount) {
    RK4Integrator integrator(snapshot.step);
    KinoraSystem system(snapshot.evolution, &integrator, 0);
    system.parameters = snapshot.parameters;
    setParametersAtSweepFraction(system, path.s);
    if (snapshot.engine) {
        // The refinement evaluates the script at the path's own parameter values.
        KNScriptPathDriver driver(*snapshot.engine);
        if (!driver.beginFan().empty() || !driver.beginEvolution(system).empty()) {
            return {};
        }
    }
    std::vector<SectionDot> dots;
    for (const SectionCrossing& crossing :
         section.crossings(system, seed, path.states.data(), vertexCount)) {
        dots.push_back({path.s, crossing.state});
    }
    return dots;
}

} // namespace kinora
