#pragma once

#include "Parameter.h"
#include "Vector3.h"

#include <vector>

// The time derivative of a state: a plain function pointer, so systems carry no bound state.
using EvolutionFunction = kinora::Vector3 (*)(double t, const std::vector<kinora::Parameter>& p,
                                              kinora::Vector3 state);
