#include "StabilityClass.h"

#include <algorithm>
#include <cmath>

namespace kinora {

StabilityClass classifyEquilibrium(const std::array<std::complex<double>, 3>& eigenvalues) {
    double size = 1.0;
    for (const std::complex<double>& value : eigenvalues) {
        size = std::max(size, std::abs(value));
    }
    const double zero = 1e-10 * size;
    int negative = 0;
    int positive = 0;
    bool oscillating = false;
    for (const std::complex<double>& value : eigenvalues) {
        if (std::abs(value.real()) <= zero) {
            return StabilityClass::nonHyperbolic;
        }
        (value.real() < 0.0 ? negative : positive) += 1;
        oscillating = oscillating || std::abs(value.imag()) > zero;
    }
    if (negative == 3) {
        return oscillating ? StabilityClass::stableFocus : StabilityClass::stableNode;
    }
    if (positive == 3) {
        return oscillating ? StabilityClass::unstableFocus : StabilityClass::unstableNode;
    }
    return oscillating ? StabilityClass::saddleFocus : StabilityClass::saddle;
}

std::string stabilityClassName(StabilityClass kind) {
    switch (kind) {
    case StabilityClass::stableNode:
        return "stable node";
    case StabilityClass::unstableNode:
        return "unstable node";
    case StabilityClass::saddle:
        return "saddle";
    case StabilityClass::stableFocus:
        return "stable focus";
    case StabilityClass::unstableFocus:
        return "unstable focus";
    case StabilityClass::saddleFocus:
        return "saddle-focus";
    case StabilityClass::nonHyperbolic:
        return "non-hyperbolic";
    }
    return {};
}

} // namespace kinora
