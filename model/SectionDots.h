#pragma once

#include "PoincareSection.h"
#include "SeedFan.h"
#include "Vector3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct KNTrajectorySnapshot;

namespace kinora {

// One crossing of the section plane by a path, with the sweep fraction of the path's evolution.
struct SectionDot {
    double s = 0.0;
    Vector3 state;
};

// The crossings of every path a window shows with its section plane, kept per seed and evolution
// as the paths are completed, so that a recomputed path replaces its own dots only.
class SectionDots {
public:
    // Forgets every dot.
    void clear() { seeds.clear(); }
    // The seed at seedIndex has paths 0 ... evolutions − 1 from now on.
    void fanStarted(std::size_t seedIndex, std::int32_t evolutions);
    void pathCompleted(std::size_t seedIndex, std::int32_t evolution, std::vector<SectionDot> dots);
    void seedRemoved(std::size_t seedIndex);
    // Seed by seed, evolution by evolution.
    std::vector<SectionDot> all() const;

    // The crossings of path (evolution m of the seed at seed) with section, found on the
    // snapshot's system at the path's parameter values (through its engine for a script).
    // What stopped a script's evaluation ends the search early.
    static std::vector<SectionDot> crossingsOf(const KNTrajectorySnapshot& snapshot,
                                               const PoincareSection& section, Vector3 seed,
                                               const FanPath& path, std::int32_t vertexCount);

private:
    std::vector<std::vector<std::vector<SectionDot>>> seeds;
};

} // namespace kinora
