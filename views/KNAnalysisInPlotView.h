#pragma once

#include "BoundingBox.h"
#include "FindingsComputation.h"
#include "PoincareSection.h"
#include "SectionDots.h"

#include <vector>

class KNPlotPicture;

// What the analysis adds to a plot picture's paths, drawn alike in a window and in an exported
// image. None of these redraws.

// The section plane translucent across what bounds frames (with a margin, and some size for paths
// that lie in a plane of their own), or hidden with its dots when not shown.
void placeSectionPlane(KNPlotPicture& view, const kinora::PoincareSection& section,
                       const kinora::BoundingBox& bounds, bool shown);
// The crossings as dots coloured by s.
void showSectionDots(KNPlotPicture& view, const std::vector<kinora::SectionDot>& dots);
// The equilibria of findings as markers coloured by s and shaped by class; none for null.
void showEquilibriumMarkers(KNPlotPicture& view, const kinora::ExplorationFindings* findings);
// Every path's place on the exponent key and the key's texts, from findings with their exponents
// complete; for anything else the paths are grey and the key says the exponents are coming.
void showExponentColours(KNPlotPicture& view, const kinora::ExplorationFindings* findings);
