#pragma once

class KNParameterSpaceView;

// What the parameter-space view tells its controller. Calls come on the main thread.
class KNParameterSpaceViewDelegate {
public:
    virtual ~KNParameterSpaceViewDelegate() = default;

    // After each drag event that moved a handle, once its position is stored and the lines are
    // rebuilt; read the new bounds with minValueForAxis and maxValueForAxis.
    virtual void parameterSpaceViewBoundsDidChange(KNParameterSpaceView* view) = 0;
};
