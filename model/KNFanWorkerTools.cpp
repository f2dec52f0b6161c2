#include "KNFanWorkerTools.h"

#include "KNDefinitions.h"
#include "KNJavascriptEngine.h"
#include "KNScriptPathDriver.h"
#include "PathDuration.h"
#include "RK4Integrator.h"

namespace {

// Stands for a script that loaded on the window's thread but not on a worker's (top-level code
// that behaves differently each time): every path of its fans is blank and says why.
class UnavailableDriver final : public kinora::PathDriver {
public:
    explicit UnavailableDriver(std::string reason) : reason(std::move(reason)) {}
    std::string beginFan() override { return reason; }
    std::string beginEvolution(const KinoraSystem&) override { return {}; }
    bool advance(const KinoraSystem&, kinora::PathCursor&, std::int32_t, double*,
                 kinora::EvolutionOutcome&) override {
        return false;
    }

private:
    std::string reason;
};

} // namespace

kinora::ParallelFans::MakeTools fanWorkerTools(EvolutionFunction evolution, int parameterCount,
                                               std::optional<std::string> script) {
    return [evolution, parameterCount, script = std::move(script)] {
        kinora::FanWorkerTools tools;
        tools.integrator = std::make_unique<kinora::RK4Integrator>(kinora::defaultIntegrationStep);
        tools.system =
            std::make_unique<KinoraSystem>(evolution, tools.integrator.get(), parameterCount);
        if (!script) {
            tools.driver = makePathDriver(evolution);
            return tools;
        }
        KNError error;
        std::shared_ptr<KNJavascriptEngine> engine =
            KNJavascriptEngine::initWithSourceString(*script, &error);
        if (!engine) {
            tools.driver = std::make_unique<UnavailableDriver>(error.failureReason);
            return tools;
        }
        tools.driver = std::make_unique<KNScriptPathDriver>(*engine);
        tools.owner = std::move(engine);
        return tools;
    };
}
