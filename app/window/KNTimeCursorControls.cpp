#include "KNTimeCursorControls.h"

#include "Exploration.h"
#include "KNFrameStatistics.h"
#include "KNPlotView.h"
#include "KNTimeSeriesView.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolBar>
#include <cmath>

namespace {
constexpr int frameMilliseconds = 16;
constexpr double speeds[] = {0.25, 0.5, 1.0, 2.0, 4.0};
} // namespace

KNTimeCursorControls::KNTimeCursorControls(kinora::Exploration& exploration, KNPlotView& plotView,
                                           KNTimeSeriesView& panel, QToolBar* toolBar,
                                           QMenu* viewMenu, QObject* parent)
    : QObject(parent), exploration(exploration), plotView(plotView), panel(panel),
      timeSlider(new QSlider(Qt::Horizontal)), speed(new QComboBox),
      playAction(new QAction(tr("&Play"), toolBar)) {
    toolBar->addWidget(new QLabel(tr("  Time ")));
    timeSlider->setRange(0, sliderSteps);
    timeSlider->setValue(sliderSteps);
    timeSlider->setFixedWidth(160);
    timeSlider->setToolTip(tr("Time cursor: paths are drawn from their seed up to it"));
    toolBar->addWidget(timeSlider);
    playAction->setShortcut(QKeySequence(Qt::Key_Space));
    playAction->setToolTip(tr("Play or pause the time cursor (Space)"));
    toolBar->addAction(playAction);
    for (double factor : speeds) {
        speed->addItem(QStringLiteral("%1×").arg(factor));
    }
    speed->setCurrentIndex(2);
    speed->setToolTip(tr("Playing speed"));
    toolBar->addWidget(speed);
    viewMenu->addSeparator();
    viewMenu->addAction(playAction);

    connect(timeSlider, &QSlider::valueChanged, this,
            [this](int value) { setTimeFraction(static_cast<double>(value) / sliderSteps); });
    connect(playAction, &QAction::triggered, this, [this] { togglePlaying(); });
    frames.setInterval(frameMilliseconds);
    connect(&frames, &QTimer::timeout, this, [this] { advanceFrame(); });
}

void KNTimeCursorControls::setTimeFraction(double fraction) {
    exploration.setTimeFraction(fraction);
    const double shown = exploration.timeFraction();
    {
        const QSignalBlocker quiet(timeSlider);
        timeSlider->setValue(static_cast<int>(std::lround(shown * sliderSteps)));
    }
    KNFrameStatistics::beginEvent("time");
    plotView.setTimeFraction(shown);
    panel.setTimeFraction(shown);
    plotView.requestRedraw();
}

void KNTimeCursorControls::togglePlaying() {
    if (frames.isActive()) {
        frames.stop();
        playAction->setText(tr("&Play"));
        return;
    }
    // Playing from the end starts again from the seed.
    if (exploration.timeFraction() >= 1.0) {
        setTimeFraction(0.0);
    }
    lastFrame = QDateTime::currentMSecsSinceEpoch();
    frames.start();
    playAction->setText(tr("&Pause"));
}

void KNTimeCursorControls::advanceFrame() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const double seconds = static_cast<double>(now - lastFrame) / 1000.0;
    lastFrame = now;
    const double factor = speeds[std::clamp(speed->currentIndex(), 0, 4)];
    double next = exploration.timeFraction() + seconds * factor / secondsPerSweep;
    // The end shows for one frame, then the sweep starts again.
    if (exploration.timeFraction() >= 1.0) {
        next = 0.0;
    }
    setTimeFraction(std::min(next, 1.0));
}
