#include "KNSweepColour.h"

#include <algorithm>
#include <array>
#include <cmath>

QColor sweepColour(double s) {
    // The stops of path.fsh and color_ramp.fsh.
    static constexpr std::array<std::array<double, 3>, 5> stops{{{0.42, 0.30, 0.96},
                                                                 {0.16, 0.52, 1.00},
                                                                 {0.05, 0.76, 0.80},
                                                                 {0.52, 0.88, 0.30},
                                                                 {1.00, 0.86, 0.22}}};
    const double x = std::clamp(std::isfinite(s) ? s : 0.0, 0.0, 1.0) * 4.0;
    const auto i = static_cast<std::size_t>(std::min(std::floor(x), 3.0));
    const double t = x - static_cast<double>(i);
    const auto channel = [&](std::size_t c) {
        return stops[i][c] + (stops[i + 1][c] - stops[i][c]) * t;
    };
    return QColor::fromRgbF(static_cast<float>(channel(0)), static_cast<float>(channel(1)),
                            static_cast<float>(channel(2)));
}
