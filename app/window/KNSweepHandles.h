#pragma once

#include <array>

class KNParameterSpaceView;

namespace kinora {
class Exploration;
}

// The parameter-space view as the exploration's sweep: each axis named after the parameter
// mapped to it, its start handle at that parameter's start and its end handle at its end.
class KNSweepHandles {
public:
    KNSweepHandles(KNParameterSpaceView& view, const kinora::Exploration& exploration);

    // Names each axis after its mapped parameter; an unmapped axis has no name.
    void showAxisNames();
    // Moves the handles on every mapped axis to its parameter's sweep.
    void showSweep();
    // Moves the handles on every axis showing the parameter at index to its sweep.
    void showParameterSweep(int index);
    // The start and the end handle's coordinates, x, y, z.
    std::array<double, 3> starts() const;
    std::array<double, 3> ends() const;

private:
    // The parameter mapped to axis, or -1 for none.
    int mappedParameter(int axis) const;
    void showParameterOnAxis(int index, int axis);

    KNParameterSpaceView& view;
    const kinora::Exploration& exploration;
};
