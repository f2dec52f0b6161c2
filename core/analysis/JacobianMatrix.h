#pragma once

#include "EvolutionFunction.h"
#include "Vector3.h"

#include <array>
#include <vector>

namespace kinora {

// The 3×3 matrix of partial derivatives of an evolution function: rows[i][j] = ∂f_i/∂x_j.
struct JacobianMatrix {
    std::array<std::array<double, 3>, 3> rows{};

    Vector3 operator*(Vector3 v) const {
        return {rows[0][0] * v.x + rows[0][1] * v.y + rows[0][2] * v.z,
                rows[1][0] * v.x + rows[1][1] * v.y + rows[1][2] * v.z,
                rows[2][0] * v.x + rows[2][1] * v.y + rows[2][2] * v.z};
    }
    // The largest absolute row sum.
    double norm() const;
};

// A system's Jacobian written out by hand, for the built-in systems; like EvolutionFunction a
// plain function pointer.
using JacobianFunction = JacobianMatrix (*)(const std::vector<Parameter>& p, Vector3 state);

// The Jacobian of f at state: analytic when given, else by central differences with steps of
// about the cube root of the machine epsilon relative to each coordinate, which balances the
// truncation and the rounding error.
JacobianMatrix jacobianAt(EvolutionFunction f, JacobianFunction analytic,
                          const std::vector<Parameter>& parameters, Vector3 state);

// The solution d of m d = b by elimination with partial pivoting, or false when m is singular
// to working precision.
bool solveLinear(const JacobianMatrix& m, Vector3 b, Vector3* d);

} // namespace kinora
