#include "KNFindingsControls.h"

#include "Exploration.h"
#include "KNBuiltinSystems.h"
#include "KNFindingsPanel.h"
#include "KNFindingsPresenter.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>

KNFindingsControls::KNFindingsControls(QMainWindow& window, QMenu& viewMenu,
                                       kinora::Exploration& exploration, KNPlotView& view)
    : _panel(new KNFindingsPanel(&window)) {
    window.addDockWidget(Qt::RightDockWidgetArea, _panel);
    _panel->hide();
    _presenter = std::make_unique<KNFindingsPresenter>(exploration, view, *_panel,
                                                       jacobianOf(exploration.system().evolution));

    viewMenu.addSeparator();
    QAction* show = _panel->toggleViewAction();
    show->setText(QObject::tr("Equilibria and Exponents"));
    show->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    viewMenu.addAction(show);
    QObject::connect(show, &QAction::toggled, &connections,
                     [this](bool shown) { _presenter->setPanelShown(shown); });

    auto* group = new QActionGroup(&viewMenu);
    bySweep = viewMenu.addAction(QObject::tr("Colour by s"));
    byExponent = viewMenu.addAction(QObject::tr("Colour by Exponent"));
    for (QAction* action : {bySweep, byExponent}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    bySweep->setChecked(true);
    QObject::connect(group, &QActionGroup::triggered, &connections, [this](QAction* chosen) {
        _presenter->setPathColouring(chosen == byExponent ? KNPlotView::PathColouring::byExponent
                                                          : KNPlotView::PathColouring::bySweep);
    });
}

KNFindingsControls::~KNFindingsControls() = default;

QAction* KNFindingsControls::panelAction() const {
    return _panel->toggleViewAction();
}

bool KNFindingsControls::isPanelShown() const {
    // Not isVisible(): the panel of a window not shown yet counts as shown once asked to be.
    return !_panel->isHidden();
}

void KNFindingsControls::setPanelShown(bool shown) {
    // The menu item follows the panel only once the window is on screen: tell the presenter.
    _panel->setVisible(shown);
    _presenter->setPanelShown(shown);
}

KNPlotView::PathColouring KNFindingsControls::pathColouring() const {
    return byExponent->isChecked() ? KNPlotView::PathColouring::byExponent
                                   : KNPlotView::PathColouring::bySweep;
}

void KNFindingsControls::setPathColouring(KNPlotView::PathColouring colouring) {
    (colouring == KNPlotView::PathColouring::byExponent ? byExponent : bySweep)->setChecked(true);
    _presenter->setPathColouring(colouring);
}
