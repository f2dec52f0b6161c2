#include "KNSessionDocument.h"

#include "Exploration.h"
#include "KNBuiltinSystems.h"
#include "MessageText.h"
#include "NumberText.h"
#include "PathDuration.h"
#include "Trajectory.h"

#include <utility>

namespace {

constexpr const char* errorDomain = "KNSessionErrorDomain";

// As many names as a message can show, each cut short when long.
std::string joinedNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        if (joined.size() >= kinora::maxMessageCharacters / 4) {
            return joined + ", \u2026";
        }
        joined += (joined.empty() ? "" : ", ") + kinora::boundedValue(name);
    }
    return joined.empty() ? "none" : joined;
}

std::unique_ptr<kinora::Exploration> explorationFor(const KNSystemSource& source,
                                                    const std::string& documentName,
                                                    KNAlertPresenter& alerts) {
    if (source.kind == KNSystemSource::Kind::script) {
        KNError error;
        std::unique_ptr<kinora::Exploration> exploration =
            kinora::Exploration::withScript(source.scriptText, &error);
        if (!exploration) {
            alerts.presentError({error.domain, error.code,
                                 "Cannot open the session \"" + documentName + "\": its script \"" +
                                     source.name + "\" fails. " + error.failureReason},
                                documentName);
        }
        return exploration;
    }
    const KNBuiltinSystem* builtIn = findBuiltinSystem(source.name);
    if (!builtIn) {
        alerts.presentError({errorDomain, 0,
                             "Cannot open the session \"" + documentName + "\": \"" + source.name +
                                 "\" names no built-in system."},
                            documentName);
        return nullptr;
    }
    return std::make_unique<kinora::Exploration>(builtIn->evolution, builtIn->parameterNames);
}

} // namespace

std::optional<KNSession> KNSessionDocument::capture(const kinora::Exploration& exploration,
                                                    KNError* error) {
    if (!exploration.systemSource()) {
        if (error) {
            *error = {errorDomain, 0,
                      "This window's system was not read from a file or built "
                      "in, so it cannot be saved as a session."};
        }
        return std::nullopt;
    }
    KNSession session;
    session.system = *exploration.systemSource();
    for (const kinora::Parameter& parameter : exploration.system().parameters) {
        session.parameters.push_back({parameter.name, parameter.min(), parameter.max()});
    }
    session.axisToParameterMapping = exploration.axisToParameterMapping();
    for (std::size_t i = 0; i < exploration.seedCount(); ++i) {
        session.seeds.push_back(exploration.seedPosition(i));
    }
    session.evolutionCount = exploration.evolutionCount();
    session.integrationStep = exploration.integrator().integrationStep();
    session.duration = exploration.pathDuration();
    return session;
}

std::unique_ptr<kinora::Exploration> KNSessionDocument::open(const KNSession& session,
                                                             const std::string& documentName,
                                                             KNAlertPresenter& alerts) {
    const auto refuse = [&](const std::string& reason) {
        alerts.presentError(
            {errorDomain, 0, "Cannot open the session \"" + documentName + "\": " + reason},
            documentName);
        return nullptr;
    };

    std::unique_ptr<kinora::Exploration> exploration =
        explorationFor(session.system, documentName, alerts);
    if (!exploration) {
        return nullptr;
    }
    std::vector<std::string> systemNames;
    for (const kinora::Parameter& parameter : exploration->system().parameters) {
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
        return refuse("its duration of " + kinora::shortestNumberText(session.duration) + " " +
                      *problem + ".");
    }
    if (const std::optional<std::string> problem = kinora::windowPointsProblem(
            static_cast<std::int64_t>(session.seeds.size()), session.evolutionCount,
            *kinora::trajectoryVertexCount(session.duration, session.integrationStep))) {
        return refuse("its " + *problem + ".");
    }

    // The exploration starts from the session as it would from a script's declaration.
    kinora::InitialDeclaration start;
    for (std::size_t i = 0; i < session.parameters.size(); ++i) {
        start.sweeps.push_back(
            {static_cast<int>(i), session.parameters[i].start, session.parameters[i].end});
    }
    start.seeds = session.seeds;
    start.duration = session.duration;
    start.step = session.integrationStep;
    start.evolutions = static_cast<int>(session.evolutionCount);
    exploration->setAxisToParameterMapping(session.axisToParameterMapping);
    exploration->start(start);
    exploration->setSystemSource(session.system);
    return exploration;
}
