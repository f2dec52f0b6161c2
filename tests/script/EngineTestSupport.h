#pragma once

#include "KNJavascriptEngine.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

// The script most tests start from: the Lorenz system written in JavaScript.
inline const std::string lorenzScript = R"(
var parameters = ["rho", "sigma", "beta"];
function evolution(p, x, y, z) {
    return [p[1] * (y - x), x * (p[0] - z) - y, x * y - p[2] * z];
}
)";

inline std::shared_ptr<KNJavascriptEngine> loaded(const std::string& source) {
    KNError error;
    auto engine = KNJavascriptEngine::initWithSourceString(source, &error);
    EXPECT_TRUE(engine) << "failed to load: " << error.failureReason;
    return engine;
}

// The failure reason of a script that is expected not to load.
inline std::string loadFailure(const std::string& source) {
    KNError error;
    const auto engine = KNJavascriptEngine::initWithSourceString(source, &error);
    EXPECT_FALSE(engine) << "loaded unexpectedly";
    EXPECT_EQ(error.domain, "KNJavascriptErrorDomain");
    EXPECT_EQ(error.code, 0);
    return error.failureReason;
}
