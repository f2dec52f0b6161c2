#include "Trajectory.h"

#include "PathDriver.h"

#include <cmath>

namespace kinora {

std::optional<std::int32_t> trajectoryVertexCount(double pathLength, double step) {
    if (!std::isfinite(step) || step <= 0.0 || !std::isfinite(pathLength)) {
        return std::nullopt;
    }
    const double count = std::trunc(pathLength / step);
    if (!(count >= 1.0) || count > static_cast<double>(maxTrajectoryVertices)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(count);
}

std::int32_t verticesUpToFraction(double fraction, std::int32_t count) {
    // Exactly all of them at the end, whatever the rounding.
    if (!(fraction < 1.0)) {
        return count;
    }
    return fraction > 0.0 ? static_cast<std::int32_t>(std::floor(fraction * count)) : 0;
}

void setParametersAtSweepFraction(KinoraSystem& system, double s) {
    for (Parameter& parameter : system.parameters) {
        parameter.setValue(parameter.valueAtFraction(s));
    }
}

void Trajectory::integrate(const KinoraSystem& system, Vector3 seed, std::int32_t count) {
    const auto size = static_cast<size_t>(count);
    vertices.resize(size);
    indices.resize(size);
    Vector3 state = seed;
    double t = 0.0;
    for (size_t i = 0; i < size; ++i) {
        state = system.advance(t, state);
        const Vector3 displacement = state - seed;
        vertices[i] = {
            {static_cast<float>(state.x), static_cast<float>(state.y), static_cast<float>(state.z)},
            {static_cast<float>(displacement.x), static_cast<float>(displacement.y),
             static_cast<float>(displacement.z)}};
        indices[i] = static_cast<std::uint32_t>(i);
        t += pathTimeIncrement;
    }
}

} // namespace kinora
