#include "KNPlotWindow.h"

#include "KNParameterSpaceView.h"
#include "KNPlotView.h"
#include "KNStatusReporter.h"
#include "KNTimeSeriesView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

namespace {

// Puts view into the placeholder and makes sure its native window exists, which the views need
// before their set-up.
void embed(KNOpenGLView* view, QWidget* placeholder) {
    QWidget* container = QWidget::createWindowContainer(view, placeholder);
    container->setFocusPolicy(Qt::StrongFocus);
    container->setMinimumSize(placeholder->minimumSize());
    placeholder->layout()->addWidget(container);
    container->winId();
    if (!view->handle()) {
        view->create();
    }
}

// Wide enough for text such as widest, right-aligned like a column of numbers.
void fitToolbarField(QLineEdit* field, const QString& widest) {
    field->setAlignment(Qt::AlignRight);
    const int margins = field->fontMetrics().averageCharWidth() * 2;
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(widest) + margins);
}

} // namespace

KNPlotWindow::KNPlotWindow(QWidget* parent)
    : QMainWindow(parent), _plotView(new KNPlotView), _parameterView(new KNParameterSpaceView),
      _timeSeriesView(new KNTimeSeriesView) {
    _ui.setupUi(this);
    _statusReporter = new KNStatusReporter(statusBar(), this);
    fitToolbarField(_ui.evolutionsField, QStringLiteral("200"));
    fitToolbarField(_ui.stepField, QStringLiteral("0.000012345"));
    fitToolbarField(_ui.durationField, QStringLiteral("0.000012345"));
    fitToolbarField(_ui.transientField, QStringLiteral("0.000012345"));
    embed(_plotView, _ui.plotViewPlaceholder);
    embed(_parameterView, _ui.parameterViewPlaceholder);
    embed(_timeSeriesView, _ui.timeSeriesPlaceholder);
    _plotView->awakeFromNib();
    _parameterView->awakeFromNib();
    _timeSeriesView->awakeFromNib();
    connect(_ui.timeSeriesAction, &QAction::toggled, _ui.timeSeriesPlaceholder,
            &QWidget::setVisible);

    connect(_ui.closeWindowAction, &QAction::triggered, this, &QWidget::close);
    // Closing first lets every controller hear its window go before the loop ends.
    connect(_ui.quitAction, &QAction::triggered, qApp, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
}

KNPlotWindow::~KNPlotWindow() = default;

bool KNPlotWindow::timeSeriesShown() const {
    return _ui.timeSeriesAction->isChecked();
}

void KNPlotWindow::setTimeSeriesShown(bool shown) {
    _ui.timeSeriesAction->setChecked(shown);
}

void KNPlotWindow::closeEvent(QCloseEvent* event) {
    emit windowWillClose(this);
    event->accept();
}
