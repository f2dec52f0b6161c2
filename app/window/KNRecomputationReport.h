#pragma once

#include "EvolutionOutcome.h"
#include "KinoraSystem.h"
#include "Vector3.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Gathers what one recomputation ran into, path by path, and says it in one status message:
// paths that left the finite range (the first seed concerned, how many of its evolutions, and
// the parameter values of the first), script calls stopped by the time limit, and script
// errors. However many seeds and evolutions met a problem, the message is one sentence per kind.
class KNRecomputationReport {
public:
    // Forgets the previous recomputation.
    void clear();
    // The outcome of one evolution of the seed numbered seedNumber (counted from 1) at position,
    // run at sweep fraction s of system's parameters.
    void add(int seedNumber, kinora::Vector3 position, double s, const KinoraSystem& system,
             const kinora::EvolutionOutcome& outcome);

    // The recomputation was stopped with donePaths of its totalPaths drawn; said first.
    void stopped(std::int64_t donePaths, std::int64_t totalPaths);

    // Every path's outcome since the last clear.
    const kinora::RecomputationOutcome& outcome() const { return totals; }
    // Empty when the recomputation met nothing worth reporting.
    QString message() const;

private:
    struct Divergence {
        int seedNumber = 0;
        kinora::Vector3 position;
        // The values of the first diverging evolution, with their names.
        std::vector<std::pair<std::string, double>> parameters;
        int evolutions = 0;
    };

    QString divergenceSentence() const;
    QString stopSentence() const;

    // Set once the recomputation was stopped: the paths drawn of the paths it had to compute.
    std::optional<std::pair<std::int64_t, std::int64_t>> stop;
    // Every path's outcome; divergence is counted apart, without the stopped and failing paths.
    kinora::RecomputationOutcome totals;
    std::map<int, int> pathsOfSeed;
    int divergingPaths = 0;
    std::vector<int> divergingSeeds;
    // The first seed that diverged, and how many of its paths did.
    Divergence first;
};
