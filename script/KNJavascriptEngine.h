#pragma once

#include "EvolutionFunction.h"
#include "InitialDeclaration.h"
#include "KNError.h"
#include "KinoraSystem.h"
#include "ProtectedScriptValue.h"
#include "ScriptContext.h"
#include "ScriptRK4Driver.h"

#include <JavaScriptCore/JavaScript.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Turns one system script into parameter names and an evolution function. Every engine has its
// own global context, alone in its context group; the function handed out by integrable()
// evaluates the engine made current last on the calling thread, so a caller makes its engine
// current before every recomputation. An engine is used by one thread at a time; engines of the
// same script on different threads run side by side.
class KNJavascriptEngine {
public:
    // Evaluates the script and checks its globals `evolution` and `parameters`; null on failure.
    static std::shared_ptr<KNJavascriptEngine> initWithSourceString(const std::string& source,
                                                                    KNError* error = nullptr);

    KNJavascriptEngine(const KNJavascriptEngine&) = delete;
    KNJavascriptEngine& operator=(const KNJavascriptEngine&) = delete;
    ~KNJavascriptEngine();

    // The names read from the global `parameters`, in index order.
    std::optional<std::vector<std::string>> parameterNamesOrError(KNError* error = nullptr);

    // The one shared callback; it ignores its time and parameter arguments and evaluates the
    // current engine's `evolution` with the values of the last prepareToEvaluateSystem.
    static EvolutionFunction integrable();

    // Makes this engine current and looks its global `evolution` up again; the engine is current
    // afterwards even when the lookup fails.
    void makeCurrentEngineOrError(KNError* error = nullptr);

    // Copies the system's parameter values into the array the next evaluations pass to the script.
    void prepareToEvaluateSystem(const KinoraSystem& system, KNError* error = nullptr);

    KNError errorFromJSException(JSValueRef exception);

    // count RK4 steps from state inside the engine (ScriptRK4Driver), calling the `evolution`
    // found when this engine was last made current with the values of its last
    // prepareToEvaluateSystem. Gives the bits of the shared callback through RK4Integrator
    // with step h and stored half step h2, at a small fraction of the cost. Independent of
    // which engine is current. Without a function nothing is written.
    kinora::ScriptRK4Driver::Run integrateRK4(kinora::Vector3 state, std::int32_t count, double h,
                                              double h2, double* states);

    // How the script's global `initial` asks its window to start; empty when it declares nothing.
    const kinora::InitialDeclaration& initialDeclaration() const { return _initialDeclaration; }

    // Whether the time limit stopped a run since this engine was last made current or given
    // parameter values.
    bool callWasStopped() const { return _context.wasStopped(); }

private:
    KNJavascriptEngine() = default;

    std::optional<KNError> load(const std::string& source);
    JSValueRef globalProperty(const char* name, JSValueRef* exception);
    // Why the global `evolution` is no function, or nothing with the function stored through the
    // nullable out-parameter. Checked at load and whenever the engine is made current, since the
    // script may reassign it.
    std::optional<KNError> lookUpEvolution(JSObjectRef* function = nullptr);
    // Why the global `parameters` is missing or unreadable, or nothing with its value stored.
    std::optional<KNError> lookUpParameters(JSValueRef* parameters = nullptr);
    // Reads the optional global `initial`; why it cannot be used, or nothing.
    std::optional<KNError> readInitialDeclaration();
    // The error for an exception, or the time-out error when the time limit stopped the script.
    KNError failureFrom(JSValueRef exception);

    kinora::ScriptContext _context;
    // Compiled into the context before the user's script runs.
    kinora::ScriptRK4Driver rk4Driver{_context};
    // The `evolution` found when this engine was last made current; null if it was none.
    kinora::ProtectedScriptValue evolution;
    // This engine's values for `evolution`'s first argument, from the last prepareToEvaluateSystem.
    kinora::ProtectedScriptValue parameterValues;
    kinora::InitialDeclaration _initialDeclaration;
};
