#include "PathTransient.h"

#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace kinora {

std::optional<std::string> transientProblem(double transient, double duration) {
    if (!std::isfinite(transient) || transient < 0.0) {
        return "is not a finite number of time units from 0 on";
    }
    if (transient >= duration) {
        return "is not shorter than the duration of " + shortestNumberText(duration) +
               ", so it would hide every path whole";
    }
    return std::nullopt;
}

std::int32_t hiddenVertexCount(double transient, double step, std::int32_t count) {
    if (!(transient > 0.0) || !(step > 0.0) || count <= 0) {
        return 0;
    }
    const auto timeOf = [step](std::int64_t i) { return static_cast<double>(i + 1) * step; };
    // The quotient is within a point of the answer; the comparisons below settle it exactly as
    // the t column's own products do.
    const double estimate = std::ceil(transient / step) - 1.0;
    auto hidden = static_cast<std::int64_t>(std::clamp(estimate, 0.0, static_cast<double>(count)));
    while (hidden > 0 && !(timeOf(hidden - 1) < transient)) {
        --hidden;
    }
    while (hidden < count && timeOf(hidden) < transient) {
        ++hidden;
    }
    return static_cast<std::int32_t>(hidden);
}

} // namespace kinora
