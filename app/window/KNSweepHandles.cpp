#include "KNSweepHandles.h"

#include "Exploration.h"
#include "KNParameterSpaceView.h"

KNSweepHandles::KNSweepHandles(KNParameterSpaceView& view, const kinora::Exploration& exploration)
    : view(view), exploration(exploration) {}

int KNSweepHandles::mappedParameter(int axis) const {
    const std::int32_t index = exploration.axisToParameterMapping()[static_cast<std::size_t>(axis)];
    return index >= 0 && index < exploration.system().parameterCount() ? index : -1;
}

void KNSweepHandles::showAxisNames() {
    std::array<QString, 3> names;
    for (int axis = 0; axis < 3; ++axis) {
        if (const int index = mappedParameter(axis); index >= 0) {
            names[static_cast<std::size_t>(axis)] = QString::fromStdString(
                exploration.system().parameters[static_cast<std::size_t>(index)].name);
        }
    }
    view.setAxisNames(names);
}

void KNSweepHandles::showSweep() {
    for (int axis = 0; axis < 3; ++axis) {
        if (const int index = mappedParameter(axis); index >= 0) {
            showParameterOnAxis(index, axis);
        }
    }
}

void KNSweepHandles::showParameterSweep(int index) {
    for (int axis = 0; axis < 3; ++axis) {
        if (exploration.axisToParameterMapping()[static_cast<std::size_t>(axis)] == index) {
            showParameterOnAxis(index, axis);
        }
    }
}

void KNSweepHandles::showParameterOnAxis(int index, int axis) {
    const kinora::Parameter& parameter =
        exploration.system().parameters[static_cast<std::size_t>(index)];
    view.setStartValue(parameter.min(), axis);
    view.setEndValue(parameter.max(), axis);
}

std::array<double, 3> KNSweepHandles::starts() const {
    return {view.minValueForAxis(0), view.minValueForAxis(1), view.minValueForAxis(2)};
}

std::array<double, 3> KNSweepHandles::ends() const {
    return {view.maxValueForAxis(0), view.maxValueForAxis(1), view.maxValueForAxis(2)};
}
