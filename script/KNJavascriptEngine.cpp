#include "KNJavascriptEngine.h"

#include "InitialDeclarationReader.h"
#include "ScriptEngineStartup.h"
#include "ScriptString.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

namespace {

const char* const errorDomain = "KNJavascriptErrorDomain";
const char* const timeOutReason = "The script took too long to run and was stopped.";

// Top-level code runs once, when a file is opened, inside the action that opens it: stopped
// well before the window would be kept from answering for half a second.
constexpr double loadTimeLimit = 0.3;
// Every later entry into the script (one `evolution` call, one property read). A sound call
// takes microseconds; 10 ms of CPU time is far beyond that yet small enough that the at most one
// stopped call per sweep step keeps a recomputation of ten evolutions within a tenth of a second.
constexpr double callTimeLimit = 0.010;

constexpr std::size_t messageBytes = 1023;
// Ends a message cut at messageBytes, so the cut is not taken for the message's own end.
constexpr std::string_view ellipsis = "\u2026";
constexpr std::size_t nameBytes = 4095;
constexpr double maxParameterCount = 1024;

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

KNError makeError(std::string reason) {
    return {errorDomain, 0, std::move(reason)};
}

void store(KNError* error, KNError value) {
    if (error) {
        *error = std::move(value);
    }
}

bool isMissing(JSContextRef context, JSValueRef value) {
    return !value || JSValueIsUndefined(context, value) || JSValueIsNull(context, value);
}

// What the shared callback evaluates: the engine made current last on the calling thread, so
// engines working on different threads never meet here. The argument array is
// filled in place for every call; the engine protects the function and the parameter array in
// slot 0.
struct CurrentEngine {
    const KNJavascriptEngine* engine = nullptr;
    kinora::ScriptContext* context = nullptr;
    // Null unless the engine's `evolution` was a function when it was made current.
    JSObjectRef evolution = nullptr;
    JSValueRef arguments[4] = {};
};

thread_local CurrentEngine current;

void forgetCurrentEngine() {
    current = CurrentEngine();
}

// After a stopped run the rest of the sweep step is NaN at once, instead of one time-out per
// remaining call.
double component(JSContextRef context, JSObjectRef derivative, unsigned index) {
    if (current.context->wasStopped()) {
        return notANumber;
    }
    const JSValueRef value = JSObjectGetPropertyAtIndex(context, derivative, index, nullptr);
    return value ? JSValueToNumber(context, value, nullptr) : notANumber;
}

kinora::Vector3 evaluateCurrentEngine(double, const std::vector<kinora::Parameter>&,
                                      kinora::Vector3 state) {
    const JSObjectRef function = current.evolution;
    if (!function || current.context->wasStopped()) {
        return {notANumber, notANumber, notANumber};
    }
    const JSContextRef context = current.context->ref();
    current.arguments[1] = JSValueMakeNumber(context, state.x);
    current.arguments[2] = JSValueMakeNumber(context, state.y);
    current.arguments[3] = JSValueMakeNumber(context, state.z);
    const JSValueRef result =
        JSObjectCallAsFunction(context, function, nullptr, 4, current.arguments, nullptr);
    if (isMissing(context, result)) {
        return {notANumber, notANumber, notANumber};
    }
    const JSObjectRef derivative = JSValueIsObject(context, result)
                                       ? const_cast<JSObjectRef>(result)
                                       : JSValueToObject(context, result, nullptr);
    if (!derivative) {
        return {notANumber, notANumber, notANumber};
    }
    return {component(context, derivative, 0), component(context, derivative, 1),
            component(context, derivative, 2)};
}

// The line a thrown error came from, as the engine records it on the error (counted from 1);
// nothing for a thrown value that is no error object.
std::optional<int> lineOf(JSContextRef context, JSObjectRef thrown) {
    if (!thrown) {
        return std::nullopt;
    }
    const JSValueRef line =
        JSObjectGetProperty(context, thrown, kinora::ScriptString("line").ref(), nullptr);
    if (!line || !JSValueIsNumber(context, line)) {
        return std::nullopt;
    }
    const double number = JSValueToNumber(context, line, nullptr);
    if (!(number >= 1 && number <= std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

} // namespace

std::shared_ptr<KNJavascriptEngine>
KNJavascriptEngine::initWithSourceString(const std::string& source, KNError* error) {
    if (const std::optional<std::string>& failure = kinora::ScriptEngineStartup::failure()) {
        store(error, makeError(*failure));
        return nullptr;
    }
    std::shared_ptr<KNJavascriptEngine> engine(new KNJavascriptEngine());
    if (std::optional<KNError> failure = engine->load(source)) {
        store(error, std::move(*failure));
        return nullptr;
    }
    return engine;
}

KNJavascriptEngine::~KNJavascriptEngine() {
    if (current.engine == this) {
        forgetCurrentEngine();
    }
}

std::optional<KNError> KNJavascriptEngine::load(const std::string& source) {
    // The script engine would silently read such text as an empty or shortened script.
    if (source.find('\0') != std::string::npos) {
        return makeError("The script contains a NUL character.");
    }
    if (!kinora::isValidUTF8(source)) {
        return makeError("The script is not valid UTF-8 text.");
    }

    const JSContextRef context = _context.ref();
    JSValueRef exception = nullptr;
    _context.setTimeLimit(loadTimeLimit);
    JSEvaluateScript(context, kinora::ScriptString(source.c_str()).ref(), nullptr, nullptr, 0,
                     &exception);
    if (exception) {
        return failureFrom(exception);
    }
    _context.setTimeLimit(callTimeLimit);

    if (std::optional<KNError> failure = lookUpEvolution()) {
        return failure;
    }
    if (std::optional<KNError> failure = lookUpParameters()) {
        return failure;
    }
    if (std::optional<KNError> failure = readInitialDeclaration()) {
        return failure;
    }

    // Until the first prepareToEvaluateSystem the script sees no parameter values.
    parameterValues =
        kinora::ProtectedScriptValue(context, JSObjectMakeArray(context, 0, nullptr, nullptr));
    return std::nullopt;
}

std::optional<std::vector<std::string>> KNJavascriptEngine::parameterNamesOrError(KNError* error) {
    const JSContextRef context = _context.ref();
    _context.clearStopped();
    JSValueRef exception = nullptr;
    const auto fail = [&](KNError failure) {
        store(error, std::move(failure));
        return std::nullopt;
    };

    JSValueRef parameters = nullptr;
    if (std::optional<KNError> failure = lookUpParameters(&parameters)) {
        return fail(std::move(*failure));
    }
    if (!JSValueIsObject(context, parameters)) {
        return fail(makeError("'parameters' is not an array"));
    }
    const JSObjectRef array = const_cast<JSObjectRef>(parameters);

    const JSValueRef lengthValue =
        JSObjectGetProperty(context, array, kinora::ScriptString("length").ref(), &exception);
    if (exception) {
        return fail(failureFrom(exception));
    }
    const double length = JSValueToNumber(context, lengthValue, &exception);
    if (exception) {
        return fail(failureFrom(exception));
    }
    if (!(length >= 0 && length <= maxParameterCount && length == std::trunc(length))) {
        return fail(makeError("'parameters' length is not a valid count: it must be a whole "
                              "number from 0 to 1024"));
    }

    const unsigned count = static_cast<unsigned>(length);
    std::vector<std::string> names;
    names.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const JSValueRef element = JSObjectGetPropertyAtIndex(context, array, i, &exception);
        if (exception) {
            return fail(failureFrom(exception));
        }
        const auto name =
            kinora::ScriptString::adopt(JSValueToStringCopy(context, element, &exception));
        if (exception) {
            return fail(failureFrom(exception));
        }
        names.push_back(name.utf8(nameBytes));
    }
    return names;
}

EvolutionFunction KNJavascriptEngine::integrable() {
    return evaluateCurrentEngine;
}

void KNJavascriptEngine::makeCurrentEngineOrError(KNError* error) {
    const JSContextRef context = _context.ref();
    forgetCurrentEngine();
    current.engine = this;
    current.context = &_context;
    current.arguments[0] = parameterValues.get();
    _context.clearStopped();
    evolution.reset();

    // A script may have replaced its function by anything; calling that is refused here.
    JSObjectRef function = nullptr;
    if (std::optional<KNError> failure = lookUpEvolution(&function)) {
        store(error, std::move(*failure));
        return;
    }
    // Protected because the script can drop its global reference while this one is in use.
    evolution = kinora::ProtectedScriptValue(context, function);
    current.evolution = function;
}

kinora::ScriptRK4Driver::Run KNJavascriptEngine::integrateRK4(kinora::Vector3 state,
                                                              std::int32_t count, double h,
                                                              double h2, double* states) {
    if (!evolution.get()) {
        return {};
    }
    return rk4Driver.run(const_cast<JSObjectRef>(evolution.get()), parameterValues.get(), state,
                         count, h, h2, states);
}

void KNJavascriptEngine::prepareToEvaluateSystem(const KinoraSystem& system, KNError* error) {
    const JSContextRef context = _context.ref();
    _context.clearStopped();
    JSValueRef exception = nullptr;
    const JSObjectRef array = JSObjectMakeArray(context, 0, nullptr, &exception);
    if (!array) {
        store(error, failureFrom(exception));
        return;
    }
    kinora::ProtectedScriptValue values(context, array);

    std::optional<KNError> failure;
    for (int i = 0; i < system.parameterCount(); ++i) {
        const JSValueRef value =
            JSValueMakeNumber(context, system.parameters[static_cast<size_t>(i)].value());
        exception = nullptr;
        JSObjectSetPropertyAtIndex(context, array, static_cast<unsigned>(i), value, &exception);
        if (exception && !failure) {
            failure = failureFrom(exception);
        }
        // Each further element would only wait out the limit again.
        if (_context.wasStopped()) {
            break;
        }
    }

    parameterValues = std::move(values);
    if (current.engine == this) {
        current.arguments[0] = array;
    }
    if (failure) {
        store(error, std::move(*failure));
    }
}

KNError KNJavascriptEngine::errorFromJSException(JSValueRef exception) {
    const JSContextRef context = _context.ref();
    if (!exception) {
        return makeError("");
    }
    const JSObjectRef object = JSValueToObject(context, exception, nullptr);
    JSValueRef message =
        object
            ? JSObjectGetProperty(context, object, kinora::ScriptString("message").ref(), nullptr)
            : nullptr;
    // A thrown value without a message (throw "text") is its own description.
    if (!message || JSValueIsUndefined(context, message)) {
        message = exception;
    }
    const auto text = kinora::ScriptString::adopt(JSValueToStringCopy(context, message, nullptr));
    // Characters take at most four bytes, so a prefix this long exceeds the limit exactly when
    // the whole text does.
    std::string reason = text.utf8(messageBytes + 4);
    // An empty description (throw "") must still read as the error it is.
    if (reason.empty()) {
        reason = "an exception without a description was thrown";
    }
    if (reason.size() > messageBytes) {
        reason = kinora::utf8Prefix(std::move(reason), messageBytes - ellipsis.size());
        reason.append(ellipsis);
    }
    KNError error = makeError(std::move(reason));
    error.line = lineOf(context, object);
    return error;
}

JSValueRef KNJavascriptEngine::globalProperty(const char* name, JSValueRef* exception) {
    return JSObjectGetProperty(_context.ref(), _context.globalObject(),
                               kinora::ScriptString(name).ref(), exception);
}

std::optional<KNError> KNJavascriptEngine::lookUpEvolution(JSObjectRef* function) {
    const JSContextRef context = _context.ref();
    JSValueRef exception = nullptr;
    const JSValueRef value = globalProperty("evolution", &exception);
    if (exception) {
        return failureFrom(exception);
    }
    if (isMissing(context, value)) {
        return makeError("Function 'evolution' is undefined.");
    }
    if (!JSValueIsObject(context, value) ||
        !JSObjectIsFunction(context, const_cast<JSObjectRef>(value))) {
        return makeError("'evolution' is not a function");
    }
    if (function) {
        *function = const_cast<JSObjectRef>(value);
    }
    return std::nullopt;
}

std::optional<KNError> KNJavascriptEngine::lookUpParameters(JSValueRef* parameters) {
    JSValueRef exception = nullptr;
    const JSValueRef value = globalProperty("parameters", &exception);
    if (exception) {
        return failureFrom(exception);
    }
    if (isMissing(_context.ref(), value)) {
        return makeError("'parameters' array is undefined");
    }
    if (parameters) {
        *parameters = value;
    }
    return std::nullopt;
}

std::optional<KNError> KNJavascriptEngine::readInitialDeclaration() {
    JSValueRef exception = nullptr;
    const JSValueRef initial = globalProperty("initial", &exception);
    if (exception) {
        return failureFrom(exception);
    }
    // A script that declares nothing loads exactly as one written before `initial` existed.
    if (isMissing(_context.ref(), initial)) {
        return std::nullopt;
    }
    KNError error;
    const std::optional<std::vector<std::string>> names = parameterNamesOrError(&error);
    if (!names) {
        return error;
    }
    const kinora::InitialDeclarationReader reader(
        _context.ref(), *names,
        [this](JSValueRef thrown) { return failureFrom(thrown).failureReason; });
    if (std::optional<std::string> reason = reader.read(initial, &_initialDeclaration)) {
        return makeError(std::move(*reason));
    }
    return std::nullopt;
}

KNError KNJavascriptEngine::failureFrom(JSValueRef exception) {
    return _context.wasStopped() ? makeError(timeOutReason) : errorFromJSException(exception);
}
