#pragma once

#include "EvolutionFunction.h"
#include "ParallelFans.h"

#include <optional>
#include <string>

// How each worker of a window's fan computation makes its tools: for a built-in system its
// inlined driver, for a script an engine of its own for the same script text, since one engine
// must never run on two threads at once.
kinora::ParallelFans::MakeTools fanWorkerTools(EvolutionFunction evolution, int parameterCount,
                                               std::optional<std::string> script);
