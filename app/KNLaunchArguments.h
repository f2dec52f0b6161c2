#pragma once

#include "KNCommandLineExport.h"

#include <optional>
#include <string>
#include <vector>

// What the command line asks for, read before anything touches the window system, so that
// every mistake in it is reported without a display. The window system's own options (such as
// -style fusion) are let through to it.
class KNLaunchArguments {
public:
    enum class Request { help, version, windows, exportFile };

    Request request = Request::windows;
    // For windows: the files to open, in order.
    std::vector<std::string> files;
    // For exportFile.
    std::optional<KNCommandLineExport> exportRequest;

    // The arguments without the program name; nothing, with the problem in words, when they
    // are not a request.
    static std::optional<KNLaunchArguments> parse(const std::vector<std::string>& arguments,
                                                  std::string* problem);

private:
    static std::optional<KNLaunchArguments> parseWindows(const std::vector<std::string>& arguments,
                                                         std::string* problem);
};
