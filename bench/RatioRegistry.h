#pragma once

#include <functional>
#include <string>
#include <vector>

// A speed goal: the real time of one benchmark divided by a floor measured in the same run.
struct Ratio {
    std::string title;
    std::string measured;
    std::string floor;
    double goal;
};

// Each benchmark file registers its ratios and, where the floor is a rewrite, a check that both
// sides compute the same thing; main runs every check before timing anything.
struct RatioRegistration {
    RatioRegistration(Ratio ratio, std::function<void()> check);
};

struct RegisteredRatio {
    Ratio ratio;
    std::function<void()> check;
};

const std::vector<RegisteredRatio>& registeredRatios();
