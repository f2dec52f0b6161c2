#pragma once

#include "EvolutionFunction.h"
#include "JacobianMatrix.h"
#include "PathDriver.h"

#include <memory>

// The built-in systems. Each expects exactly three parameters, in the order given.

// Parameters rho, sigma, beta.
kinora::Vector3 lorenz(double t, const std::vector<kinora::Parameter>& p, kinora::Vector3 state);
// Parameters a, b, c.
kinora::Vector3 rossler(double t, const std::vector<kinora::Parameter>& p, kinora::Vector3 state);

// Their Jacobians, written out, for the analysis of equilibria.
kinora::JacobianMatrix lorenzJacobian(const std::vector<kinora::Parameter>& p,
                                      kinora::Vector3 state);
kinora::JacobianMatrix rosslerJacobian(const std::vector<kinora::Parameter>& p,
                                       kinora::Vector3 state);

// The fastest driver for f: the built-in systems stepped with the function inlined, any other
// function through the system.
std::unique_ptr<kinora::PathDriver> makePathDriver(EvolutionFunction f);
