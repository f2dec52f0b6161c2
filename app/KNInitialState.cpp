#include "KNInitialState.h"

#include "KNPlotView.h"
#include "KNPlotWindowController.h"
#include "Seed.h"

#include <cassert>
#include <vector>

static_assert(kinora::InitialDeclaration::maxEvolutions ==
                  KNPlotWindowController::maxEvolutionCount,
              "a declaration may ask for as many evolutions as the toolbar allows");

void KNInitialState::apply(KNPlotWindowController& controller,
                           const kinora::InitialDeclaration& declaration) {
    // Settings first, while there is no seed whose paths they would recompute.
    for (const kinora::InitialDeclaration::Sweep& sweep : declaration.sweeps) {
        controller.changeParameterSweep(sweep.parameter, sweep.start, sweep.end);
    }
    if (declaration.step || declaration.duration) {
        [[maybe_unused]] const std::optional<QString> refusal = controller.changeIntegration(
            declaration.step.value_or(controller.integrator().integrationStep()),
            declaration.duration.value_or(controller.pathStepLength()));
        assert(!refusal && "the loader refuses what the window would");
    }
    if (declaration.evolutions) {
        controller.changeEvolutions(*declaration.evolutions);
    }

    const std::vector<kinora::Vector3> seeds =
        declaration.seeds.value_or(std::vector<kinora::Vector3>{{1.0, 1.0, 1.0}});
    KNPlotView* view = controller.plotView();
    for (const kinora::Vector3& position : seeds) {
        Seed* seed = view->addSeed();
        seed->transform.position = position;
        controller.plotViewSeedWasMoved(view, seed);
    }
}
