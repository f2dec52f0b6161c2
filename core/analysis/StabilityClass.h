#pragma once

#include <array>
#include <complex>
#include <string>

namespace kinora {

// What the Jacobian's eigenvalues say about the flow near an equilibrium.
enum class StabilityClass {
    stableNode,    // all real, all negative
    unstableNode,  // all real, all positive
    saddle,        // all real, of both signs
    stableFocus,   // a complex pair, every real part negative
    unstableFocus, // a complex pair, every real part positive
    saddleFocus,   // a complex pair, real parts of both signs
    nonHyperbolic, // a real part zero to working precision: the linearisation decides nothing
};

// The class of an equilibrium with these eigenvalues. A real part within a relative 1e-10 of
// the largest eigenvalue's size counts as zero, and so does an imaginary part.
StabilityClass classifyEquilibrium(const std::array<std::complex<double>, 3>& eigenvalues);

// "stable node", "saddle-focus", ...: the words the tables use.
std::string stabilityClassName(StabilityClass kind);

} // namespace kinora
