#pragma once

#include <QColor>

// The colour of sweep fraction s (clamped to 0 ... 1) on the ramp the path program draws with:
// violet through blue, teal and lime to gold.
QColor sweepColour(double s);
