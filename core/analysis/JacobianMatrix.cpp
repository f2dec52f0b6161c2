#include "JacobianMatrix.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kinora {

namespace {

double component(Vector3 v, int i) {
    return i == 0 ? v.x : (i == 1 ? v.y : v.z);
}

Vector3 withComponent(Vector3 v, int i, double value) {
    (i == 0 ? v.x : (i == 1 ? v.y : v.z)) = value;
    return v;
}

} // namespace

double JacobianMatrix::norm() const {
    double largest = 0.0;
    for (const auto& row : rows) {
        largest = std::max(largest, std::abs(row[0]) + std::abs(row[1]) + std::abs(row[2]));
    }
    return largest;
}

JacobianMatrix jacobianAt(EvolutionFunction f, JacobianFunction analytic,
                          const std::vector<Parameter>& parameters, Vector3 state) {
    if (analytic) {
        return analytic(parameters, state);
    }
    static const double relativeStep = std::cbrt(std::numeric_limits<double>::epsilon());
    JacobianMatrix jacobian;
    for (int j = 0; j < 3; ++j) {
        const double x = component(state, j);
        const double h = relativeStep * std::max(1.0, std::abs(x));
        const double above = x + h;
        const double below = x - h;
        const Vector3 difference = f(0.0, parameters, withComponent(state, j, above)) -
                                   f(0.0, parameters, withComponent(state, j, below));
        // Divided by the distance actually stepped, which rounding makes differ from 2h.
        const double span = above - below;
        for (int i = 0; i < 3; ++i) {
            jacobian.rows[i][j] = component(difference, i) / span;
        }
    }
    return jacobian;
}

bool solveLinear(const JacobianMatrix& m, Vector3 b, Vector3* d) {
    std::array<std::array<double, 4>, 3> a{};
    for (int i = 0; i < 3; ++i) {
        a[i] = {m.rows[i][0], m.rows[i][1], m.rows[i][2], component(b, i)};
    }
    const double tiny = 1e-14 * std::max(m.norm(), std::numeric_limits<double>::min());
    for (int column = 0; column < 3; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 3; ++row) {
            if (std::abs(a[row][column]) > std::abs(a[pivot][column])) {
                pivot = row;
            }
        }
        if (!(std::abs(a[pivot][column]) > tiny)) {
            return false;
        }
        std::swap(a[column], a[pivot]);
        for (int row = column + 1; row < 3; ++row) {
            const double factor = a[row][column] / a[column][column];
            for (int k = column; k < 4; ++k) {
                a[row][k] -= factor * a[column][k];
            }
        }
    }
    std::array<double, 3> x{};
    for (int row = 2; row >= 0; --row) {
        double sum = a[row][3];
        for (int k = row + 1; k < 3; ++k) {
            sum -= a[row][k] * x[k];
        }
        x[row] = sum / a[row][row];
    }
    *d = {x[0], x[1], x[2]};
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]);
}

} // namespace kinora
