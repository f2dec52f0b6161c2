#pragma once

#include "Renderable.h"

#include <vector>

// A starting point of trajectories: one pickable point, placed by its transform's position, with
// the scene indices of its paths (the path at list position m shows evolution m).
class Seed : public kinora::Renderable {
public:
    Seed(kinora::Mesh* mesh, kinora::Shader* program, int pathCount);

    int sceneID = -1;
    std::vector<int> pathIDs;
    int pathCount;
    // Drawn twice as large while selected.
    bool isSelected = false;

    // Whether the scene index belongs to one of this seed's paths.
    bool hasPath(int index) const;
};
