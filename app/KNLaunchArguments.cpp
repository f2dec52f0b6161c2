#include "KNLaunchArguments.h"

#include "KNAnalysisRequest.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The window system's options that take the next argument as their value, and those that
// stand alone, as it reads them: with one dash or two.
constexpr std::array<std::string_view, 15> windowSystemOptionsWithValue = {"platform",
                                                                           "platformpluginpath",
                                                                           "platformtheme",
                                                                           "plugin",
                                                                           "qwindowgeometry",
                                                                           "geometry",
                                                                           "qwindowtitle",
                                                                           "title",
                                                                           "qwindowicon",
                                                                           "icon",
                                                                           "session",
                                                                           "display",
                                                                           "name",
                                                                           "style",
                                                                           "stylesheet"};
constexpr std::array<std::string_view, 6> windowSystemFlags = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

// The option's name without its dashes and any "=value".
std::string_view optionName(std::string_view argument) {
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    return argument.substr(0, argument.find('='));
}

bool contains(const auto& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::optional<KNLaunchArguments> KNLaunchArguments::parse(const std::vector<std::string>& arguments,
                                                          std::string* problem) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            return KNLaunchArguments{Request::help, {}, std::nullopt};
        }
        if (argument == "--version" || argument == "-v") {
            return KNLaunchArguments{Request::version, {}, std::nullopt};
        }
    }
    if (KNCommandLineExport::isRequested(arguments)) {
        std::optional<KNCommandLineExport> request = KNCommandLineExport::parse(arguments, problem);
        if (!request) {
            return std::nullopt;
        }
        return KNLaunchArguments{Request::exportFile, {}, std::move(request)};
    }
    return parseWindows(arguments, problem);
}

std::optional<KNLaunchArguments>
KNLaunchArguments::parseWindows(const std::vector<std::string>& arguments, std::string* problem) {
    KNLaunchArguments launch;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            launch.files.push_back(argument);
            continue;
        }
        const std::string_view name = optionName(argument);
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--size") {
            *problem = "--size applies to --export-image and --export-frames only.";
            return std::nullopt;
        } else if (argument == "--view") {
            *problem = "--view applies to --export-image only.";
            return std::nullopt;
        } else if (argument == "--frames") {
            *problem = "--frames applies to --export-frames only.";
            return std::nullopt;
        } else if (KNAnalysisRequest::isOption(argument)) {
            *problem = argument + " applies to --export-data only.";
            return std::nullopt;
        } else if (contains(windowSystemOptionsWithValue, name) &&
                   argument.find('=') == std::string::npos) {
            if (i + 1 == arguments.size()) {
                *problem = "option '" + argument + "' needs a value.";
                return std::nullopt;
            }
            ++i;
        } else if (!contains(windowSystemOptionsWithValue, name) &&
                   !contains(windowSystemFlags, name)) {
            *problem = "unknown option '" + argument + "'.";
            return std::nullopt;
        }
    }
    return launch;
}
