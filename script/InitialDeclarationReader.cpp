#include "InitialDeclarationReader.h"

#include "MessageText.h"
#include "NumberText.h"
#include "PathDuration.h"
#include "PathTransient.h"
#include "ScriptString.h"
#include "Trajectory.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kinora {

namespace {

const char* const fieldList = "sweep, seeds, duration, step, evolutions, transient, section";

std::string quoted(const std::string& field) {
    return "'" + boundedValue(field) + "'";
}

std::string indexed(const std::string& field, std::size_t index) {
    return field + "[" + std::to_string(index) + "]";
}

} // namespace

InitialDeclarationReader::InitialDeclarationReader(JSContextRef context,
                                                   std::vector<std::string> parameterNames,
                                                   ExceptionText exceptionText)
    : context(context), parameterNames(std::move(parameterNames)),
      exceptionText(std::move(exceptionText)) {}

std::optional<std::string> InitialDeclarationReader::read(JSValueRef initial,
                                                          InitialDeclaration* declaration) const {
    try {
        if (!JSValueIsObject(context, initial) || JSValueIsArray(context, initial)) {
            throw Refusal{"'initial' is not an object"};
        }
        const auto object = const_cast<JSObjectRef>(initial);
        InitialDeclaration result;
        for (const PropertyName& property : propertyNames(object)) {
            const std::string& field = property.text;
            const JSValueRef value = this->property(object, property);
            const std::string name = "initial." + field;
            if (field == "sweep") {
                readSweep(value, &result);
            } else if (field == "seeds") {
                readSeeds(value, &result);
            } else if (field == "duration") {
                result.duration = finiteNumber(value, name);
            } else if (field == "step") {
                result.step = finiteNumber(value, name);
            } else if (field == "evolutions") {
                readEvolutions(value, &result);
            } else if (field == "transient") {
                result.transient = finiteNumber(value, name);
            } else if (field == "section") {
                readSection(value, &result);
            } else {
                throw Refusal{quoted(name) + " is not a field of 'initial' (" + fieldList + ")"};
            }
        }
        checkPathLength(result);
        checkTransient(result);
        *declaration = std::move(result);
        return std::nullopt;
    } catch (const Refusal& refusal) {
        return refusal.reason;
    }
}

JSValueRef InitialDeclarationReader::property(JSObjectRef object, const std::string& name) const {
    return property(object, PropertyName{ScriptString(name.c_str()), name});
}

JSValueRef InitialDeclarationReader::property(JSObjectRef object, const PropertyName& name) const {
    JSValueRef exception = nullptr;
    const JSValueRef value = JSObjectGetProperty(context, object, name.whole.ref(), &exception);
    if (exception) {
        throw Refusal{exceptionText(exception)};
    }
    return value;
}

JSValueRef InitialDeclarationReader::element(JSObjectRef array, unsigned index) const {
    JSValueRef exception = nullptr;
    const JSValueRef value = JSObjectGetPropertyAtIndex(context, array, index, &exception);
    if (exception) {
        throw Refusal{exceptionText(exception)};
    }
    return value;
}

std::vector<JSValueRef> InitialDeclarationReader::elements(JSValueRef value,
                                                           const std::string& field,
                                                           const std::string& what,
                                                           std::size_t minCount,
                                                           std::size_t maxCount) const {
    if (!JSValueIsArray(context, value)) {
        throw Refusal{quoted(field) + " is not " + what};
    }
    const auto array = const_cast<JSObjectRef>(value);
    const double length = JSValueToNumber(context, property(array, "length"), nullptr);
    if (!(length >= static_cast<double>(minCount))) {
        throw Refusal{quoted(field) + " is not " + what};
    }
    if (length > static_cast<double>(maxCount)) {
        throw Refusal{minCount == maxCount
                          ? quoted(field) + " is not " + what
                          : quoted(field) + " holds " + shortestNumberText(length) +
                                " entries; the most is " + std::to_string(maxCount)};
    }
    std::vector<JSValueRef> result;
    for (unsigned i = 0; i < static_cast<unsigned>(length); ++i) {
        result.push_back(element(array, i));
    }
    return result;
}

double InitialDeclarationReader::finiteNumber(JSValueRef value, const std::string& field) const {
    if (!JSValueIsNumber(context, value)) {
        throw Refusal{quoted(field) + " is not a number"};
    }
    const double number = JSValueToNumber(context, value, nullptr);
    if (!std::isfinite(number)) {
        throw Refusal{quoted(field) + " is not a finite number"};
    }
    return number;
}

std::vector<InitialDeclarationReader::PropertyName>
InitialDeclarationReader::propertyNames(JSObjectRef object) const {
    const JSPropertyNameArrayRef names = JSObjectCopyPropertyNames(context, object);
    std::vector<PropertyName> result;
    const std::size_t count = JSPropertyNameArrayGetCount(names);
    for (std::size_t i = 0; i < count; ++i) {
        ScriptString name =
            ScriptString::adopt(JSStringRetain(JSPropertyNameArrayGetNameAtIndex(names, i)));
        std::string text = name.utf8(4095);
        result.push_back({std::move(name), std::move(text)});
    }
    JSPropertyNameArrayRelease(names);
    return result;
}

void InitialDeclarationReader::readSweep(JSValueRef sweep, InitialDeclaration* declaration) const {
    if (!JSValueIsObject(context, sweep) || JSValueIsArray(context, sweep)) {
        throw Refusal{"'initial.sweep' is not an object whose keys are parameter names"};
    }
    const auto object = const_cast<JSObjectRef>(sweep);
    for (const PropertyName& property : propertyNames(object)) {
        const std::string& name = property.text;
        const std::string field = "initial.sweep." + name;
        const auto count = std::count(parameterNames.begin(), parameterNames.end(), name);
        if (count == 0) {
            throw Refusal{quoted(field) + " names no parameter"};
        }
        if (count > 1) {
            throw Refusal{quoted(field) + " names more than one parameter"};
        }
        const int parameter = static_cast<int>(
            std::find(parameterNames.begin(), parameterNames.end(), name) - parameterNames.begin());
        const JSValueRef value = this->property(object, property);
        if (JSValueIsNumber(context, value)) {
            const double both = finiteNumber(value, field);
            declaration->sweeps.push_back({parameter, both, both});
            continue;
        }
        const std::vector<JSValueRef> pair =
            elements(value, field, "a number or a [start, end] pair", 2, 2);
        declaration->sweeps.push_back({parameter, finiteNumber(pair[0], indexed(field, 0)),
                                       finiteNumber(pair[1], indexed(field, 1))});
    }
}

void InitialDeclarationReader::readSeeds(JSValueRef seeds, InitialDeclaration* declaration) const {
    const std::vector<JSValueRef> list =
        elements(seeds, "initial.seeds", "an array of [x, y, z]", 0, InitialDeclaration::maxSeeds);
    std::vector<Vector3> positions;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string field = indexed("initial.seeds", i);
        const std::vector<JSValueRef> triple =
            elements(list[i], field, "an [x, y, z] triple", 3, 3);
        positions.emplace_back(finiteNumber(triple[0], indexed(field, 0)),
                               finiteNumber(triple[1], indexed(field, 1)),
                               finiteNumber(triple[2], indexed(field, 2)));
    }
    declaration->seeds = std::move(positions);
}

void InitialDeclarationReader::readEvolutions(JSValueRef evolutions,
                                              InitialDeclaration* declaration) const {
    const double count = finiteNumber(evolutions, "initial.evolutions");
    if (count != std::trunc(count) || count < InitialDeclaration::minEvolutions ||
        count > InitialDeclaration::maxEvolutions) {
        throw Refusal{"'initial.evolutions' of " + shortestNumberText(count) +
                      " is not a whole number from " +
                      std::to_string(InitialDeclaration::minEvolutions) + " to " +
                      std::to_string(InitialDeclaration::maxEvolutions)};
    }
    declaration->evolutions = static_cast<int>(count);
}

void InitialDeclarationReader::readSection(JSValueRef section,
                                           InitialDeclaration* declaration) const {
    if (!JSValueIsObject(context, section) || JSValueIsArray(context, section)) {
        throw Refusal{"'initial.section' is not an object (axis, value, direction)"};
    }
    const auto object = const_cast<JSObjectRef>(section);
    std::optional<int> axis;
    std::optional<double> value;
    int direction = 0;
    for (const PropertyName& property : propertyNames(object)) {
        const std::string field = "initial.section." + property.text;
        const JSValueRef entry = this->property(object, property);
        if (property.text == "axis") {
            axis = static_cast<int>(oneOf(entry, field, "\"x\", \"y\" or \"z\"", {"x", "y", "z"}));
        } else if (property.text == "value") {
            value = finiteNumber(entry, field);
        } else if (property.text == "direction") {
            direction = static_cast<int>(
                oneOf(entry, field, "\"up\", \"down\" or \"both\"", {"up", "down", "both"}));
        } else {
            throw Refusal{quoted(field) +
                          " is not a field of 'initial.section' (axis, value, direction)"};
        }
    }
    if (!axis || !value) {
        throw Refusal{std::string("'initial.section' has no ") + (axis ? "value" : "axis")};
    }
    declaration->section = InitialDeclaration::SectionPlane{*axis, *value, direction};
}

std::size_t InitialDeclarationReader::oneOf(JSValueRef value, const std::string& field,
                                            const std::string& what,
                                            const std::vector<std::string>& names) const {
    if (JSValueIsString(context, value)) {
        const std::string text =
            ScriptString::adopt(JSValueToStringCopy(context, value, nullptr)).utf8(64);
        const auto found = std::find(names.begin(), names.end(), text);
        if (found != names.end()) {
            return static_cast<std::size_t>(found - names.begin());
        }
    }
    throw Refusal{quoted(field) + " is not " + what};
}

void InitialDeclarationReader::checkPathLength(const InitialDeclaration& declaration) const {
    const double step = declaration.step.value_or(defaultIntegrationStep);
    if (declaration.step && step <= 0.0) {
        throw Refusal{"'initial.step' of " + shortestNumberText(step) +
                      " is not a positive number"};
    }
    const double duration = declaration.duration.value_or(defaultPathDuration);
    const std::optional<std::string> problem = pathDurationProblem(duration, step);
    if (!problem) {
        const std::int64_t seeds =
            declaration.seeds ? static_cast<std::int64_t>(declaration.seeds->size()) : 1;
        if (const std::optional<std::string> tooMany =
                windowPointsProblem(seeds, declaration.evolutions.value_or(defaultEvolutions),
                                    *trajectoryVertexCount(duration, step))) {
            throw Refusal{"'initial' asks for more points than a window holds: " + *tooMany};
        }
        return;
    }
    if (declaration.duration) {
        throw Refusal{"'initial.duration' of " + shortestNumberText(duration) + " " + *problem};
    }
    throw Refusal{"'initial.step' of " + shortestNumberText(step) + " is refused: a duration of " +
                  shortestNumberText(duration) + " " + *problem};
}

void InitialDeclarationReader::checkTransient(const InitialDeclaration& declaration) const {
    if (!declaration.transient) {
        return;
    }
    const double duration = declaration.duration.value_or(defaultPathDuration);
    if (const std::optional<std::string> problem =
            transientProblem(*declaration.transient, duration)) {
        throw Refusal{"'initial.transient' of " + shortestNumberText(*declaration.transient) + " " +
                      *problem};
    }
}

} // namespace kinora
