#pragma once

#include "JacobianMatrix.h"
#include "StabilityClass.h"

#include <array>
#include <complex>
#include <vector>

namespace kinora {

// A fixed point of the flow with the eigenvalues of its Jacobian and their verdict.
struct Equilibrium {
    Vector3 position;
    std::array<std::complex<double>, 3> eigenvalues;
    StabilityClass stability = StabilityClass::nonHyperbolic;
};

// Where Newton's method went from every start, for the window and the tables to report: the
// distinct points it converged to, and how many starts failed in which way. A failed start is
// never a point.
struct EquilibriumSearchResult {
    // Ordered by x, then y, then z, so the same system lists them the same way every time.
    std::vector<Equilibrium> equilibria;
    // The iteration met a state or derivative that is infinite or NaN, or ran beyond 1e12.
    int leftFiniteRange = 0;
    // The Jacobian was singular to working precision at some iterate.
    int singular = 0;
    // No convergence within the iteration limit.
    int notConverged = 0;
};

// Finds the equilibria of f at the given parameter values by Newton's method from each start,
// with the analytic Jacobian when given, else central differences, and merges the starts that
// reach the same point (within a relative 1e-7). A start that leads to a point already found
// is tried again with Newton's method deflated by the points found, which drives it to another.
EquilibriumSearchResult findEquilibria(EvolutionFunction f, JacobianFunction analytic,
                                       const std::vector<Parameter>& parameters,
                                       const std::vector<Vector3>& starts);

} // namespace kinora
