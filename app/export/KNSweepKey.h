#pragma once

#include "Parameter.h"

#include <QString>
#include <vector>

// The texts of the plot view's colour key: the parameter values at the start (s = 0) and at the
// end (s = 1) of the sweep, naming the parameters that change along it (all of them when none
// does), at most three, e.g. "rho 10" and "rho 28".
struct KNSweepKey {
    QString start;
    QString end;

    static KNSweepKey describe(const std::vector<kinora::Parameter>& parameters);
};
