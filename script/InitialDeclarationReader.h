#pragma once

#include "InitialDeclaration.h"
#include "ScriptString.h"

#include <JavaScriptCore/JavaScript.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kinora {

// Reads a script's global `initial` object into an InitialDeclaration and refuses, with a reason
// that names the field ("'initial.sweep.rhoo' names no parameter"), whatever a window could not
// use: an unknown field or parameter name, a value of the wrong type, a number that is not finite,
// a step or duration that gives no path, too many seeds, evolutions out of range.
class InitialDeclarationReader {
public:
    // The text for an exception thrown by script code while reading (a getter, a stopped run).
    using ExceptionText = std::function<std::string(JSValueRef exception)>;

    InitialDeclarationReader(JSContextRef context, std::vector<std::string> parameterNames,
                             ExceptionText exceptionText);

    // The declaration in initial (neither undefined nor null), or the reason it is refused.
    std::optional<std::string> read(JSValueRef initial, InitialDeclaration* declaration) const;

private:
    struct Refusal {
        std::string reason;
    };

    // A property's name: whole, to read it by, and as text cut as the system's names are.
    struct PropertyName {
        ScriptString whole;
        std::string text;
    };

    JSValueRef property(JSObjectRef object, const std::string& name) const;
    JSValueRef property(JSObjectRef object, const PropertyName& name) const;
    JSValueRef element(JSObjectRef array, unsigned index) const;
    // The array's elements, refused with `what` unless value is an array of that many (or at
    // most maxCount) elements.
    std::vector<JSValueRef> elements(JSValueRef value, const std::string& field,
                                     const std::string& what, std::size_t minCount,
                                     std::size_t maxCount) const;
    double finiteNumber(JSValueRef value, const std::string& field) const;
    std::vector<PropertyName> propertyNames(JSObjectRef object) const;

    void readSweep(JSValueRef sweep, InitialDeclaration* declaration) const;
    void readSeeds(JSValueRef seeds, InitialDeclaration* declaration) const;
    void readEvolutions(JSValueRef evolutions, InitialDeclaration* declaration) const;
    // {axis: "x" | "y" | "z", value: a number, direction: "up" (the default) | "down" | "both"}.
    void readSection(JSValueRef section, InitialDeclaration* declaration) const;
    // A string value, refused with what unless it is one of names; its index among them.
    std::size_t oneOf(JSValueRef value, const std::string& field, const std::string& what,
                      const std::vector<std::string>& names) const;
    void checkPathLength(const InitialDeclaration& declaration) const;
    // The transient must leave part of every path to show.
    void checkTransient(const InitialDeclaration& declaration) const;

    JSContextRef context;
    std::vector<std::string> parameterNames;
    ExceptionText exceptionText;
};

} // namespace kinora
