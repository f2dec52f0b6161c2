#include "KNDefinitions.h"

#include <cassert>

kinora::Vector3 lorenz(double, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    const double rho = p[0].value();
    const double sigma = p[1].value();
    const double beta = p[2].value();
    const double x = state.x, y = state.y, z = state.z;
    return {(y - x) * sigma, x * (rho - z) - y, x * y - beta * z};
}

kinora::Vector3 rossler(double, const std::vector<kinora::Parameter>& p, kinora::Vector3 state) {
    assert(p.size() == 3);
    const double a = p[0].value();
    const double b = p[1].value();
    const double c = p[2].value();
    const double x = state.x, y = state.y, z = state.z;
    return {(-y) - z, x + a * y, b + z * (x - c)};
}

kinora::JacobianMatrix lorenzJacobian(const std::vector<kinora::Parameter>& p,
                                      kinora::Vector3 state) {
    assert(p.size() == 3);
    const double rho = p[0].value();
    const double sigma = p[1].value();
    const double beta = p[2].value();
    kinora::JacobianMatrix jacobian;
    jacobian.rows = {
        {{-sigma, sigma, 0.0}, {rho - state.z, -1.0, -state.x}, {state.y, state.x, -beta}}};
    return jacobian;
}

kinora::JacobianMatrix rosslerJacobian(const std::vector<kinora::Parameter>& p,
                                       kinora::Vector3 state) {
    assert(p.size() == 3);
    const double a = p[0].value();
    const double c = p[2].value();
    kinora::JacobianMatrix jacobian;
    jacobian.rows = {{{0.0, -1.0, -1.0}, {1.0, a, 0.0}, {state.z, 0.0, state.x - c}}};
    return jacobian;
}
