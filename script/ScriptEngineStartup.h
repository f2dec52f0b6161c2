#pragma once

#include <optional>
#include <string>

namespace kinora {

// Whether the script engine can start in this process. Its start-up reserves gigabytes of
// address space at once (about 1 GiB for compiled code and a little over 4 GiB for its table of
// object shapes) and aborts the whole process when it cannot, which under an address-space
// limit (ulimit -v) would take every open window with it. So before the first context exists,
// the same reservations are tried and given back, and a shortfall is reported instead.
class ScriptEngineStartup {
public:
    // Empty when script contexts can be created, otherwise why not. Applies the engine's options
    // (ScriptEngineOptions) first. Tried once per process: a started engine stays started.
    static const std::optional<std::string>& failure();
};

} // namespace kinora
