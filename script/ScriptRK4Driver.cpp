#include "ScriptRK4Driver.h"

#include "ScriptString.h"

#include <cassert>
#include <limits>

namespace kinora {

namespace {

// Strict mode keeps the driver's frame out of reach of the script (no `caller`); the function
// uses no global and no built-in, only operators and the typed arrays it is given, and returns
// a thrown value wrapped in an array literal (which runs no script code) so it is told apart
// from a normal end. `evolution` is called plainly, leaving `this` unset: a sloppy-mode
// function sees the global object as through the program's own calls, a strict-mode one sees
// undefined. Binding the global object instead would double the cost of every call. A NaN
// that `evolution` returns is replaced by `nan`, the NaN the program passes in, as the API
// replaces it when the value reaches the program; so the states have the program's bits,
// non-finite ones included (a NaN computed in the engine may have its sign bit set).
const char* const driverSource = R"((function () {
"use strict";
return function (evolution, p, states, progress, count, x, y, z, h, h2, sixth, nan) {
    var i = 0, k = 0, r;
    var ax, ay, az, bx, by, bz, cx, cy, cz, dx, dy, dz;
    try {
        for (; i < count; ++i) {
            r = evolution(p, x, y, z);
            ax = +r[0]; ay = +r[1]; az = +r[2];
            if (ax !== ax) ax = nan; if (ay !== ay) ay = nan; if (az !== az) az = nan;
            r = evolution(p, x + ax * h2, y + ay * h2, z + az * h2);
            bx = +r[0]; by = +r[1]; bz = +r[2];
            if (bx !== bx) bx = nan; if (by !== by) by = nan; if (bz !== bz) bz = nan;
            r = evolution(p, x + bx * h2, y + by * h2, z + bz * h2);
            cx = +r[0]; cy = +r[1]; cz = +r[2];
            if (cx !== cx) cx = nan; if (cy !== cy) cy = nan; if (cz !== cz) cz = nan;
            r = evolution(p, x + cx * h, y + cy * h, z + cz * h);
            dx = +r[0]; dy = +r[1]; dz = +r[2];
            if (dx !== dx) dx = nan; if (dy !== dy) dy = nan; if (dz !== dz) dz = nan;
            x = x + ((ax + (bx + cx) * 2.0) + dx) * sixth;
            y = y + ((ay + (by + cy) * 2.0) + dy) * sixth;
            z = z + ((az + (bz + cz) * 2.0) + dz) * sixth;
            states[k] = x;
            states[k + 1] = y;
            states[k + 2] = z;
            k += 3;
            progress[0] = i + 1;
            if (x !== x && y !== y && z !== z) {
                return;
            }
        }
    } catch (e) {
        states[k] = states[k + 1] = states[k + 2] = 0 / 0;
        progress[0] = i + 1;
        return [e];
    }
};
})())";

void keepBytes(void*, void*) {}

JSObjectRef float64Array(JSContextRef context, double* values, std::size_t count) {
    return JSObjectMakeTypedArrayWithBytesNoCopy(context, kJSTypedArrayTypeFloat64Array, values,
                                                 count * sizeof(double), keepBytes, nullptr,
                                                 nullptr);
}

} // namespace

ScriptRK4Driver::ScriptRK4Driver(ScriptContext& context) : context(context) {
    const JSValueRef function = JSEvaluateScript(context.ref(), ScriptString(driverSource).ref(),
                                                 nullptr, nullptr, 0, nullptr);
    assert(function && JSValueIsObject(context.ref(), function));
    driver = ProtectedScriptValue(context.ref(), function);
}

ScriptRK4Driver::Run ScriptRK4Driver::run(JSObjectRef evolution, JSValueRef parameters,
                                          Vector3 state, std::int32_t count, double h, double h2,
                                          double* states) {
    const JSContextRef ref = context.ref();
    progress = 0.0;
    const JSValueRef arguments[] = {
        evolution,
        parameters,
        float64Array(ref, states, 3 * static_cast<std::size_t>(count)),
        float64Array(ref, &progress, 1),
        JSValueMakeNumber(ref, count),
        JSValueMakeNumber(ref, state.x),
        JSValueMakeNumber(ref, state.y),
        JSValueMakeNumber(ref, state.z),
        JSValueMakeNumber(ref, h),
        JSValueMakeNumber(ref, h2),
        JSValueMakeNumber(ref, h / 6.0),
        JSValueMakeNumber(ref, std::numeric_limits<double>::quiet_NaN())};
    context.clearStopped();
    context.watchProgress(&progress, stepTimeLimit);
    JSValueRef uncaught = nullptr;
    const JSValueRef result =
        JSObjectCallAsFunction(ref, const_cast<JSObjectRef>(driver.get()), nullptr,
                               std::size(arguments), arguments, &uncaught);
    context.endProgressWatch();

    Run outcome;
    outcome.written = static_cast<std::int32_t>(progress);
    outcome.stopped = context.wasStopped();
    if (uncaught && !outcome.stopped) {
        outcome.exception = uncaught;
    } else if (result && JSValueIsObject(ref, result)) {
        outcome.exception =
            JSObjectGetPropertyAtIndex(ref, const_cast<JSObjectRef>(result), 0, nullptr);
    }
    return outcome;
}

} // namespace kinora
