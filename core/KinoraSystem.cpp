#include "KinoraSystem.h"

KinoraSystem::KinoraSystem(EvolutionFunction evolution, kinora::Integrator* integrator, int count)
    : parameters(static_cast<size_t>(count)), evolution(evolution), integrator(integrator) {}
