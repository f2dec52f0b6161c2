#pragma once

#include "KNScenePicture.h"

#include <QString>
#include <array>
#include <memory>

// What the parameter-space view shows, with no window: the sweep of up to three parameters as a
// start handle at the start values, an end handle at the end values, the line between them and,
// from each handle, three lines down to the coordinate planes. A handle's coordinate on an axis
// is the parameter value itself. Axes: 0 x, 1 y, 2 z. No call here redraws anything.
class KNParameterSpacePicture : public KNScenePicture {
public:
    KNParameterSpacePicture();
    ~KNParameterSpacePicture() override;

    // Base set-up, then both handles at the origin, the line and the connectors (empty).
    void setUp(kinora::Framebuffer* target) override;

    // See KNParameterSpaceView for these.
    void updatePath();
    void setStartValue(double value, int axis);
    void setEndValue(double value, int axis);
    double minValueForAxis(int axis) const;
    double maxValueForAxis(int axis) const;
    void setAxisNames(const std::array<QString, 3>& names);
    // Whether r is one of the two handles.
    bool isHandle(const kinora::Renderable* r) const;

    // The named axes, and beside each handle its values on them.
    std::vector<KNLabel> labels(QSizeF picture) const override;

    std::unique_ptr<kinora::Mesh> handleMesh;
    std::unique_ptr<kinora::Mesh> pathMesh;
    std::unique_ptr<kinora::Mesh> axesConnectorMesh;
    std::unique_ptr<kinora::Renderable> minHandle;
    std::unique_ptr<kinora::Renderable> maxHandle;
    std::unique_ptr<kinora::Renderable> path;
    std::unique_ptr<kinora::Renderable> axesConnectors;

private:
    std::array<QString, 3> axisNames;
};
