#pragma once

#include "PathFocus.h"

#include <string>

namespace kinora {

class Exploration;
struct ExplorationFindings;

// Which path path is, as the status bar says it: "Seed 2, evolution 4 of 10, s = 0.333333,
// rho = 16", seeds and evolutions counted from 1 as the status bar and the findings panel count
// them (evolution k has s = (k - 1) / (n - 1)), and every swept parameter (start and end differ)
// at the path's s. When findings (null for none) hold the path's largest exponent, it follows, or
// why there is none. path must name one of exploration's seeds.
std::string describeEvolution(const Exploration& exploration, EvolutionRef path,
                              const ExplorationFindings* findings);

} // namespace kinora
