#include "RatioRegistry.h"

namespace {
std::vector<RegisteredRatio>& ratios() {
    static std::vector<RegisteredRatio> all;
    return all;
}
} // namespace

RatioRegistration::RatioRegistration(Ratio ratio, std::function<void()> check) {
    ratios().push_back({std::move(ratio), std::move(check)});
}

const std::vector<RegisteredRatio>& registeredRatios() {
    return ratios();
}
