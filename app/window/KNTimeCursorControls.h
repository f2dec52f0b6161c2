#pragma once

#include <QObject>
#include <QTimer>

class KNPlotView;
class KNTimeSeriesView;
class QAction;
class QComboBox;
class QMenu;
class QSlider;
class QToolBar;

namespace kinora {
class Exploration;
}

// The time cursor's controls on the window's toolbar: a slider from t = 0 to the duration, Play
// / Pause (Space, also in the View menu) and the playing speed. Playing sweeps the cursor from 0
// to the end in ten seconds at 1× and starts again; turning, zooming, edits and drags go on
// meanwhile. The cursor lives in the exploration; both views show it.
class KNTimeCursorControls : public QObject {
    Q_OBJECT

public:
    KNTimeCursorControls(kinora::Exploration& exploration, KNPlotView& plotView,
                         KNTimeSeriesView& panel, QToolBar* toolBar, QMenu* viewMenu,
                         QObject* parent);

    // Moves the cursor (clamped to 0 ... 1 of the duration) and shows it everywhere. Redraws.
    void setTimeFraction(double fraction);
    void togglePlaying();
    bool isPlaying() const { return frames.isActive(); }
    QSlider* slider() const { return timeSlider; }

    // Slider positions from the start to the end.
    static constexpr int sliderSteps = 1000;
    // One sweep of the duration at 1×.
    static constexpr double secondsPerSweep = 10.0;

private:
    void advanceFrame();

    kinora::Exploration& exploration;
    KNPlotView& plotView;
    KNTimeSeriesView& panel;
    QSlider* timeSlider;
    QComboBox* speed;
    QAction* playAction;
    QTimer frames;
    // When the last frame was shown, so the speed does not depend on how fast frames come.
    qint64 lastFrame = 0;
};
