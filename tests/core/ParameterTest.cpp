#include "Parameter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

using kinora::Parameter;

namespace {

void expectFields(const Parameter& p, double value, double min, double max, const char* name) {
    EXPECT_EQ(p.value(), value);
    EXPECT_EQ(p.min(), min);
    EXPECT_EQ(p.max(), max);
    EXPECT_EQ(p.name, name);
}

TEST(Parameter, EveryConstructorSetsAllFourFields) {
    expectFields(Parameter(), 0, 0, 0, "unnamed");
    expectFields(Parameter(std::string("rho")), 0, 0, 0, "rho");
    expectFields(Parameter(2.5), 2.5, 2.5, 2.5, "unnamed");
    expectFields(Parameter("rho", 2.5), 2.5, 2.5, 2.5, "rho");
    expectFields(Parameter("rho", 1, 2, 3), 1, 2, 3, "rho");
}

TEST(Parameter, CopiesOwnTheirName) {
    Parameter original("sigma", 10);
    Parameter copy = original;
    original.name = "changed";
    EXPECT_EQ(copy.name, "sigma");
}

TEST(Parameter, ValueAtFractionClampsToTheSweep) {
    Parameter p("a", 0, 10, 20);
    p.setValueAtFraction(-1);
    EXPECT_EQ(p.value(), 10);
    p.setValueAtFraction(2);
    EXPECT_EQ(p.value(), 20);
    p.setValueAtFraction(0.5);
    EXPECT_EQ(p.value(), 15);
    p.setValueAtFraction(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(std::isnan(p.value()));
}

TEST(Parameter, DownwardSweepsInterpolateFromMinToMax) {
    Parameter p("a", 0, 20, 10);
    p.setValueAtFraction(0.25);
    EXPECT_EQ(p.value(), 17.5);
    EXPECT_EQ(p.valueFraction(), 0.25);
}

TEST(Parameter, ValueFractionIsUnguardedForEqualEnds) {
    EXPECT_TRUE(std::isinf(Parameter("a", 1, 0, 0).valueFraction()));
    EXPECT_TRUE(std::isnan(Parameter("a", 0, 0, 0).valueFraction()));
}

TEST(Parameter, StreamsOnlyTheValue) {
    std::ostringstream out;
    out << Parameter("rho", 0.5, 1, 2);
    EXPECT_EQ(out.str(), "0.5");
}

} // namespace
