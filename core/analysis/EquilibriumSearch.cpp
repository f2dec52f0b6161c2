#include "EquilibriumSearch.h"

#include "Eigenvalues.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace kinora {

namespace {

constexpr int iterationLimit = 100;
constexpr double finiteRangeLimit = 1e12;

double largestMagnitude(Vector3 v) {
    return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

bool withinRange(Vector3 v) {
    // NaN fails the comparison too.
    return largestMagnitude(v) <= finiteRangeLimit;
}

enum class NewtonEnd { converged, leftFiniteRange, singular, notConverged };

// Newton's method for f, deflated by the points already known: it solves
// f(x) · Π (1 / |x − r|² + 1) = 0, whose roots are f's but for those points, so a start that
// would run into a known point is driven towards another one instead. Without known points it is
// Newton's method for f.
NewtonEnd newton(EvolutionFunction f, JacobianFunction analytic,
                 const std::vector<Parameter>& parameters, const std::vector<Vector3>& known,
                 Vector3* x) {
    for (int iteration = 0; iteration < iterationLimit; ++iteration) {
        const Vector3 value = f(0.0, parameters, *x);
        if (!withinRange(*x) || !withinRange(value)) {
            return NewtonEnd::leftFiniteRange;
        }
        JacobianMatrix jacobian = jacobianAt(f, analytic, parameters, *x);
        // The deflated step solves (J + f wᵀ) d = −f, w the gradient of the logarithm of the
        // deflation factor.
        Vector3 w;
        for (const Vector3 root : known) {
            const Vector3 offset = *x - root;
            const double squared = offset.x * offset.x + offset.y * offset.y + offset.z * offset.z;
            w += offset * (-2.0 / (squared * (1.0 + squared)));
        }
        const double fv[3] = {value.x, value.y, value.z};
        const double wv[3] = {w.x, w.y, w.z};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                jacobian.rows[i][j] += fv[i] * wv[j];
            }
        }
        Vector3 step;
        if (!solveLinear(jacobian, -value, &step)) {
            return NewtonEnd::singular;
        }
        *x += step;
        if (largestMagnitude(step) <= 1e-13 * std::max(1.0, largestMagnitude(*x))) {
            return withinRange(*x) ? NewtonEnd::converged : NewtonEnd::leftFiniteRange;
        }
    }
    return NewtonEnd::notConverged;
}

// Two plain Newton steps where the iteration has settled take the last bits it can.
Vector3 polished(EvolutionFunction f, JacobianFunction analytic,
                 const std::vector<Parameter>& parameters, Vector3 x) {
    for (int i = 0; i < 2; ++i) {
        Vector3 step;
        if (!solveLinear(jacobianAt(f, analytic, parameters, x), -f(0.0, parameters, x), &step) ||
            !withinRange(x + step)) {
            break;
        }
        x += step;
    }
    return x;
}

bool samePoint(Vector3 a, Vector3 b) {
    const double scale = std::max({1.0, largestMagnitude(a), largestMagnitude(b)});
    return largestMagnitude(a - b) <= 1e-7 * scale;
}

} // namespace

EquilibriumSearchResult findEquilibria(EvolutionFunction f, JacobianFunction analytic,
                                       const std::vector<Parameter>& parameters,
                                       const std::vector<Vector3>& starts) {
    EquilibriumSearchResult result;
    std::vector<Vector3> found;
    const auto isNew = [&found](Vector3 x) {
        return std::none_of(found.begin(), found.end(),
                            [x](Vector3 known) { return samePoint(known, x); });
    };
    for (const Vector3 start : starts) {
        Vector3 x = start;
        switch (newton(f, analytic, parameters, {}, &x)) {
        case NewtonEnd::converged:
            x = polished(f, analytic, parameters, x);
            if (isNew(x)) {
                found.push_back(x);
            } else {
                // The start leads to a known point; deflated, it may lead to one not yet found.
                // Where it leads nowhere the start has done its part and is no failure.
                Vector3 other = start;
                if (newton(f, analytic, parameters, found, &other) == NewtonEnd::converged) {
                    other = polished(f, analytic, parameters, other);
                    if (isNew(other)) {
                        found.push_back(other);
                    }
                }
            }
            break;
        case NewtonEnd::leftFiniteRange:
            ++result.leftFiniteRange;
            break;
        case NewtonEnd::singular:
            ++result.singular;
            break;
        case NewtonEnd::notConverged:
            ++result.notConverged;
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](Vector3 a, Vector3 b) {
        return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    });
    for (const Vector3 x : found) {
        Equilibrium equilibrium;
        equilibrium.position = x;
        equilibrium.eigenvalues = eigenvalues(jacobianAt(f, analytic, parameters, x));
        equilibrium.stability = classifyEquilibrium(equilibrium.eigenvalues);
        result.equilibria.push_back(equilibrium);
    }
    return result;
}

} // namespace kinora
