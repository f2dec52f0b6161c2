#include "KNDefinitions.h"

#include "InlinedRK4Driver.h"
#include "SystemPathDriver.h"

#include <array>
#include <cassert>

namespace {

// The built-in systems' three parameters' values, in order.
inline std::array<double, 3> values(const std::vector<kinora::Parameter>& p) {
    return {p[0].value(), p[1].value(), p[2].value()};
}

// The formulas, each written once: called by pointer through the public functions, which check
// the parameter count, and inlined into every stage of the built-in drivers' steps, whose
// windows always give the built-in systems their three parameters.
inline kinora::Vector3 lorenzFormula(double, const std::vector<kinora::Parameter>& p,
                                     kinora::Vector3 state) {
    const auto [rho, sigma, beta] = values(p);
    const double x = state.x, y = state.y, z = state.z;
    return {(y - x) * sigma, x * (rho - z) - y, x * y - beta * z};
}

inline kinora::Vector3 rosslerFormula(double, const std::vector<kinora::Parameter>& p,
                                      kinora::Vector3 state) {
    const auto [a, b, c] = values(p);
    const double x = state.x, y = state.y, z = state.z;
    return {(-y) - z, x + a * y, b + z * (x - c)};
}

} // namespace

kinora::Vector3 lorenz(double t, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    return lorenzFormula(t, p, state);
}

kinora::Vector3 rossler(double t, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    return rosslerFormula(t, p, state);
}

std::unique_ptr<kinora::PathDriver> makePathDriver(EvolutionFunction f) {
    if (f == lorenz) {
        return std::make_unique<kinora::InlinedRK4Driver<lorenzFormula>>();
    }
    if (f == rossler) {
        return std::make_unique<kinora::InlinedRK4Driver<rosslerFormula>>();
    }
    return std::make_unique<kinora::SystemPathDriver>();
}

kinora::JacobianMatrix lorenzJacobian(const std::vector<kinora::Parameter>& p,
                                      kinora::Vector3 state) {
    assert(p.size() == 3);
    const auto [rho, sigma, beta] = values(p);
    kinora::JacobianMatrix jacobian;
    jacobian.rows = {
        {{-sigma, sigma, 0.0}, {rho - state.z, -1.0, -state.x}, {state.y, state.x, -beta}}};
    return jacobian;
}

kinora::JacobianMatrix rosslerJacobian(const std::vector<kinora::Parameter>& p,
                                       kinora::Vector3 state) {
    assert(p.size() == 3);
    const auto [a, b, c] = values(p);
    kinora::JacobianMatrix jacobian;
    jacobian.rows = {{{0.0, -1.0, -1.0}, {1.0, a, 0.0}, {state.z, 0.0, state.x - c}}};
    return jacobian;
}
