#include "KNSessionDocument.h"

#include "KNBuiltinSystems.h"
#include "KNParameterSpaceView.h"
#include "KNPlotView.h"
#include "KNPlotWindow.h"
#include "KNPlotWindowController.h"
#include "PathDuration.h"
#include "Seed.h"
#include "Trajectory.h"

#include <utility>

namespace {

constexpr const char* errorDomain = "KNSessionErrorDomain";

// While its script loads, a session reports the script's errors as its own problem; afterwards
// the window's errors pass through as usual.
class SessionScriptAlerts : public KNAlertPresenter {
public:
    SessionScriptAlerts(std::shared_ptr<KNAlertPresenter> alerts, std::string documentName,
                        std::string scriptName)
        : alerts(std::move(alerts)), documentName(std::move(documentName)),
          scriptName(std::move(scriptName)) {}

    void presentError(const KNError& error, const std::string& name) override {
        if (!loading) {
            alerts->presentError(error, name);
            return;
        }
        alerts->presentError({error.domain, error.code,
                              "Cannot open the session \"" + documentName + "\": its script \"" +
                                  scriptName + "\" fails. " + error.failureReason},
                             documentName);
    }
    void scriptDidLoad() { loading = false; }

private:
    std::shared_ptr<KNAlertPresenter> alerts;
    std::string documentName;
    std::string scriptName;
    bool loading = true;
};

std::string joinedNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return joined.empty() ? "none" : joined;
}

std::shared_ptr<KNPlotWindowController>
controllerFor(const KNSystemSource& source, const std::string& documentName,
              const std::shared_ptr<KNAlertPresenter>& alerts) {
    if (source.kind == KNSystemSource::Kind::script) {
        auto scriptAlerts =
            std::make_shared<SessionScriptAlerts>(alerts, documentName, source.name);
        auto controller = KNPlotWindowController::initWithSourceString(source.scriptText,
                                                                       scriptAlerts, source.name);
        scriptAlerts->scriptDidLoad();
        return controller;
    }
    const KNBuiltinSystem* builtIn = findBuiltinSystem(source.name);
    if (!builtIn) {
        alerts->presentError({errorDomain, 0,
                              "Cannot open the session \"" + documentName + "\": \"" + source.name +
                                  "\" names no built-in system."},
                             documentName);
        return nullptr;
    }
    return KNPlotWindowController::initWithIntegrable(builtIn->evolution, builtIn->parameterNames,
                                                      alerts);
}

} // namespace

std::optional<KNSession> KNSessionDocument::capture(KNPlotWindowController& controller,
                                                    KNError* error) {
    if (!controller.systemSource()) {
        if (error) {
            *error = {errorDomain, 0,
                      "This window's system was not read from a file or built "
                      "in, so it cannot be saved as a session."};
        }
        return std::nullopt;
    }
    KNSession session;
    session.system = *controller.systemSource();
    for (const kinora::Parameter& parameter : controller.system().parameters) {
        session.parameters.push_back({parameter.name, parameter.min(), parameter.max()});
    }
    session.axisToParameterMapping = controller.axisToParameterMapping();
    controller.plotView()->enumerateSeedsWithBlock(
        [&session](Seed* seed) { session.seeds.push_back(seed->transform.position); });
    session.evolutionCount = controller.evolutionCount();
    session.integrationStep = controller.integrator().integrationStep();
    session.duration = controller.pathStepLength();
    session.windowWidth = controller.window()->width();
    session.windowHeight = controller.window()->height();
    session.plotCamera = controller.plotView()->viewCamera();
    session.parameterCamera = controller.parameterView()->viewCamera();
    return session;
}

std::shared_ptr<KNPlotWindowController>
KNSessionDocument::restore(const KNSession& session, const std::string& documentName,
                           std::shared_ptr<KNAlertPresenter> alerts) {
    const auto refuse = [&](const std::string& reason) {
        alerts->presentError(
            {errorDomain, 0, "Cannot open the session \"" + documentName + "\": " + reason},
            documentName);
        return nullptr;
    };

    std::shared_ptr<KNPlotWindowController> controller =
        controllerFor(session.system, documentName, alerts);
    if (!controller) {
        return nullptr;
    }
    std::vector<std::string> systemNames;
    for (const kinora::Parameter& parameter : controller->system().parameters) {
        systemNames.push_back(parameter.name);
    }
    std::vector<std::string> sessionNames;
    for (const KNSessionParameter& parameter : session.parameters) {
        sessionNames.push_back(parameter.name);
    }
    if (sessionNames != systemNames) {
        return refuse("its parameters (" + joinedNames(sessionNames) +
                      ") are not those of its system (" + joinedNames(systemNames) + ").");
    }
    if (const std::optional<std::string> problem =
            kinora::pathDurationProblem(session.duration, session.integrationStep)) {
        return refuse("its duration of " + kinora::formatNumber(session.duration) + " " + *problem +
                      ".");
    }
    if (const std::optional<std::string> problem = kinora::windowPointsProblem(
            static_cast<std::int64_t>(session.seeds.size()), session.evolutionCount,
            *kinora::trajectoryVertexCount(session.duration, session.integrationStep))) {
        return refuse("its " + *problem + ".");
    }

    // The window starts from the session as it would from a script's declaration, through the
    // same operations as the user's own edits.
    kinora::InitialDeclaration start;
    for (std::size_t i = 0; i < session.parameters.size(); ++i) {
        start.sweeps.push_back(
            {static_cast<int>(i), session.parameters[i].start, session.parameters[i].end});
    }
    start.seeds = session.seeds;
    start.duration = session.duration;
    start.step = session.integrationStep;
    start.evolutions = static_cast<int>(session.evolutionCount);
    controller->setAxisToParameterMapping(session.axisToParameterMapping);
    controller->setOpeningDeclaration(std::move(start));
    controller->setOpeningCameras(session.plotCamera, session.parameterCamera);
    controller->setSystemSource(session.system);

    KNPlotWindow* window = controller->window();
    window->resize(session.windowWidth, session.windowHeight);
    // The window's layout sizes the views once it is shown; until then (and for good when
    // nothing is shown, as in an export) they take the sizes they were saved at.
    controller->plotView()->resize(session.plotCamera.width, session.plotCamera.height);
    controller->parameterView()->resize(session.parameterCamera.width,
                                        session.parameterCamera.height);
    return controller;
}
