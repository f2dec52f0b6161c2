// Every shipped example loads and computes the system its comment names.
#include "KNJavascriptEngine.h"
#include "KinoraSystem.h"
#include "RK4Integrator.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using kinora::Vector3;

namespace {

struct Example {
    const char* file;
    std::vector<std::string> names;
    std::vector<double> classicValues;
    Vector3 (*reference)(const std::vector<double>& p, Vector3 v);
};

Vector3 rossler(const std::vector<double>& p, Vector3 v) {
    return {-v.y - v.z, v.x + p[0] * v.y, p[1] + v.z * (v.x - p[2])};
}
Vector3 lorenz(const std::vector<double>& p, Vector3 v) {
    return {p[1] * (v.y - v.x), v.x * (p[0] - v.z) - v.y, v.x * v.y - p[2] * v.z};
}
Vector3 thomas(const std::vector<double>& p, Vector3 v) {
    return {std::sin(v.y) - p[0] * v.x, std::sin(v.z) - p[0] * v.y, std::sin(v.x) - p[0] * v.z};
}
Vector3 aizawa(const std::vector<double>& p, Vector3 v) {
    const double a = p[0], b = p[1], c = p[2], d = p[3], e = p[4], f = p[5];
    return {(v.z - b) * v.x - d * v.y, d * v.x + (v.z - b) * v.y,
            c + a * v.z - v.z * v.z * v.z / 3 - (v.x * v.x + v.y * v.y) * (1 + e * v.z) +
                f * v.z * v.x * v.x * v.x};
}
Vector3 halvorsen(const std::vector<double>& p, Vector3 v) {
    const double a = p[0];
    return {-a * v.x - 4 * v.y - 4 * v.z - v.y * v.y, -a * v.y - 4 * v.z - 4 * v.x - v.z * v.z,
            -a * v.z - 4 * v.x - 4 * v.y - v.x * v.x};
}
Vector3 chen(const std::vector<double>& p, Vector3 v) {
    const double a = p[0], b = p[1], c = p[2];
    return {a * (v.y - v.x), (c - a) * v.x - v.x * v.z + c * v.y, v.x * v.y - b * v.z};
}
Vector3 rabinovichFabrikant(const std::vector<double>& p, Vector3 v) {
    const double alpha = p[0], gamma = p[1];
    return {v.y * (v.z - 1 + v.x * v.x) + gamma * v.x,
            v.x * (3 * v.z + 1 - v.x * v.x) + gamma * v.y, -2 * v.z * (alpha + v.x * v.y)};
}

const Example examples[] = {
    {"lorenz.js", {"rho", "sigma", "beta"}, {28, 10, 8.0 / 3.0}, lorenz},
    {"rossler.js", {"a", "b", "c"}, {0.2, 0.2, 5.7}, rossler},
    {"thomas.js", {"b"}, {0.208186}, thomas},
    {"aizawa.js", {"a", "b", "c", "d", "e", "f"}, {0.95, 0.7, 0.6, 3.5, 0.25, 0.1}, aizawa},
    {"halvorsen.js", {"a"}, {1.89}, halvorsen},
    {"chen.js", {"a", "b", "c"}, {35, 3, 28}, chen},
    {"rabinovich-fabrikant.js", {"alpha", "gamma"}, {0.14, 0.1}, rabinovichFabrikant},
};

std::string readExample(const char* file) {
    std::ifstream in(std::string(KINORA_EXAMPLES_DIR) + "/" + file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, LoadAndMatchTheirEquations) {
    const Example& example = GetParam();
    const std::string source = readExample(example.file);
    ASSERT_FALSE(source.empty()) << example.file;

    KNError error;
    const auto engine = KNJavascriptEngine::initWithSourceString(source, &error);
    ASSERT_TRUE(engine) << example.file << ": " << error.failureReason;
    const auto names = engine->parameterNamesOrError(&error);
    ASSERT_TRUE(names) << error.failureReason;
    EXPECT_EQ(*names, example.names);

    kinora::RK4Integrator integrator(0.01);
    KinoraSystem system(KNJavascriptEngine::integrable(), &integrator, int(names->size()));
    for (size_t i = 0; i < example.classicValues.size(); ++i) {
        system.parameter(int(i)).setValue(example.classicValues[i]);
    }
    engine->makeCurrentEngineOrError();
    engine->prepareToEvaluateSystem(system);
    for (const Vector3 point : {Vector3(1, 1, 1), Vector3(-0.3, 0.7, 1.9), Vector3(2, -1, 0.5)}) {
        const Vector3 scripted = system.evolution(0, system.parameters, point);
        const Vector3 expected = example.reference(example.classicValues, point);
        EXPECT_NEAR(scripted.x, expected.x, 1e-12 * (1 + std::abs(expected.x))) << example.file;
        EXPECT_NEAR(scripted.y, expected.y, 1e-12 * (1 + std::abs(expected.y))) << example.file;
        EXPECT_NEAR(scripted.z, expected.z, 1e-12 * (1 + std::abs(expected.z))) << example.file;
    }

    // Each example starts its window on its own sweep of every parameter, seeds and duration.
    const kinora::InitialDeclaration& declared = engine->initialDeclaration();
    EXPECT_EQ(declared.sweeps.size(), names->size()) << example.file;
    EXPECT_TRUE(declared.seeds && !declared.seeds->empty()) << example.file;
    EXPECT_TRUE(declared.duration) << example.file;

    // A whole default path stays finite at the classic values from a seed near the attractor.
    Vector3 state(0.1, 0, 0);
    for (int i = 0; i < 1000; ++i) {
        state = system.advance(0, state);
    }
    EXPECT_TRUE(std::isfinite(state.x) && std::isfinite(state.y) && std::isfinite(state.z))
        << example.file;
}

INSTANTIATE_TEST_SUITE_P(Shipped, Examples, ::testing::ValuesIn(examples), [](const auto& info) {
    std::string name = info.param.file;
    name = name.substr(0, name.find('.'));
    std::erase(name, '-');
    return name;
});

} // namespace
