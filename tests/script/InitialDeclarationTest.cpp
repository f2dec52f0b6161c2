#include "EngineTestSupport.h"

#include <utility>

namespace {

std::string lorenzWith(const std::string& initial) {
    return lorenzScript + "var initial = " + initial + ";";
}

TEST(InitialDeclaration, EveryFieldIsReadAndAbsentOnesKeepTheDefaults) {
    const auto engine = loaded(lorenzWith(
        "{sweep: {sigma: 10, rho: [10, 28], beta: 8 / 3}, seeds: [[1, 1, 1], [-3, 2.5, 12]],"
        " duration: 20, step: 0.005, evolutions: 12, transient: 5,"
        " section: {axis: 'y', value: -2.5, direction: 'both'}}"));
    ASSERT_TRUE(engine);
    const kinora::InitialDeclaration& declared = engine->initialDeclaration();
    ASSERT_EQ(declared.sweeps.size(), 3u);
    EXPECT_EQ(declared.sweeps[0].parameter, 1);
    EXPECT_EQ(declared.sweeps[0].start, 10.0);
    EXPECT_EQ(declared.sweeps[0].end, 10.0);
    EXPECT_EQ(declared.sweeps[1].parameter, 0);
    EXPECT_EQ(declared.sweeps[1].start, 10.0);
    EXPECT_EQ(declared.sweeps[1].end, 28.0);
    EXPECT_EQ(declared.sweeps[2].end, 8.0 / 3.0);
    ASSERT_TRUE(declared.seeds);
    ASSERT_EQ(declared.seeds->size(), 2u);
    EXPECT_EQ((*declared.seeds)[1].y, 2.5);
    EXPECT_EQ(declared.duration, 20.0);
    EXPECT_EQ(declared.step, 0.005);
    EXPECT_EQ(declared.evolutions, 12);
    EXPECT_EQ(declared.transient, 5.0);
    ASSERT_TRUE(declared.section);
    EXPECT_EQ(declared.section->axis, 1);
    EXPECT_EQ(declared.section->value, -2.5);
    EXPECT_EQ(declared.section->direction, 2);

    // A name longer than the system keeps still sweeps its parameter.
    const auto longName = loaded("var n = 'n'.repeat(5000); var parameters = [n];"
                                 "function evolution() { return [0, 0, 0]; }"
                                 "var initial = {sweep: {[n]: [1, 2]}};");
    ASSERT_TRUE(longName);
    ASSERT_EQ(longName->initialDeclaration().sweeps.size(), 1u);
    EXPECT_EQ(longName->initialDeclaration().sweeps[0].end, 2.0);

    const auto plain = loaded(lorenzScript + "var initial = {duration: 50};");
    EXPECT_TRUE(plain->initialDeclaration().sweeps.empty());
    EXPECT_FALSE(plain->initialDeclaration().seeds);
    EXPECT_FALSE(plain->initialDeclaration().step);
    EXPECT_FALSE(plain->initialDeclaration().transient);
    EXPECT_FALSE(plain->initialDeclaration().section);
}

TEST(InitialDeclaration, UnusableDeclarationsAreRefusedNamingTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "'initial' is not an object"},
        {"{sweep: {rhoo: 28}}", "'initial.sweep.rhoo' names no parameter"},
        {"{sweep: {rho: '28'}}", "'initial.sweep.rho' is not a number or a [start, end] pair"},
        {"{sweep: {rho: [1, 2, 3]}}", "'initial.sweep.rho' is not a number or a [start, end] pair"},
        {"{sweep: {rho: [1, NaN]}}", "'initial.sweep.rho[1]' is not a finite number"},
        {"{sweep: {rho: Infinity}}", "'initial.sweep.rho' is not a finite number"},
        {"{sweep: [28]}", "'initial.sweep' is not an object whose keys are parameter names"},
        {"{seeds: [[1, 1]]}", "'initial.seeds[0]' is not an [x, y, z] triple"},
        {"{seeds: [[1, 1, 1], [0, 'a', 0]]}", "'initial.seeds[1][1]' is not a number"},
        {"{seeds: new Array(101).fill([0, 0, 0])}",
         "'initial.seeds' holds 101 entries; the most is 100"},
        {"{duration: -1}",
         "'initial.duration' of -1 is not a positive, finite number of time units"},
        {"{duration: 1e9}", "'initial.duration' of 1e9 gives 100,000,000,000 points per path at "
                            "a step of 0.01; the most is 1,000,000"},
        {"{step: 1e-9}", "'initial.step' of 1e-9 is refused: a duration of 10 gives "
                         "10,000,000,000 points per path at a step of 1e-9; the most is 1,000,000"},
        // Counts and values as written, so no message contradicts itself.
        {"{duration: 20, step: 1e-5}", "'initial.duration' of 20 gives 2,000,000 points per path "
                                       "at a step of 0.00001; the most is 1,000,000"},
        {"{duration: 1.000001, step: 1e-6}",
         "'initial.duration' of 1.000001 gives 1,000,001 points per path at a step of 0.000001; "
         "the most is 1,000,000"},
        {"{duration: 10, step: 10.000000000000002}",
         "'initial.duration' of 10 is shorter than one step of 10.000000000000002"},
        {"{step: 0}", "'initial.step' of 0 is not a positive number"},
        {"{duration: 100, step: 1e-4, evolutions: 20, seeds: [[0,0,0],[1,1,1],[2,2,2],[3,3,3],"
         "[4,4,4],[5,5,5]]}",
         "'initial' asks for more points than a window holds: 6 seeds × 20 evolutions × "
         "1,000,000 points make 120,000,000 points; a window holds at most 100,000,000"},
        {"{duration: 0.001}", "'initial.duration' of 0.001 is shorter than one step of 0.01"},
        {"{evolutions: 2.5}", "'initial.evolutions' of 2.5 is not a whole number from 1 to 20"},
        {"{evolutions: 21}", "'initial.evolutions' of 21 is not a whole number from 1 to 20"},
        {"{durations: 5}",
         "'initial.durations' is not a field of 'initial' (sweep, seeds, duration, step, "
         "evolutions, transient, section)"},
        {"{section: {axis: 'w', value: 1}}", "'initial.section.axis' is not \"x\", \"y\" or \"z\""},
        {"{section: {axis: 'z', value: 1, direction: 'sideways'}}",
         "'initial.section.direction' is not \"up\", \"down\" or \"both\""},
        {"{section: {axis: 'z'}}", "'initial.section' has no value"},
        {"{section: {axis: 'z', value: 1, side: 2}}",
         "'initial.section.side' is not a field of 'initial.section' (axis, value, direction)"},
        {"{transient: 10}", "'initial.transient' of 10 is not shorter than the duration of 10, so "
                            "it would hide every path whole"},
        {"{duration: 50, transient: -1}",
         "'initial.transient' of -1 is not a finite number of time units from 0 on"},
        {"{get step() { throw new Error('no step today'); }}", "no step today"},
    };
    for (const auto& [initial, message] : cases) {
        EXPECT_EQ(loadFailure(lorenzWith(initial)), message) << initial;
    }
    // A repeated parameter name cannot say which parameter it means.
    EXPECT_EQ(loadFailure("var parameters = ['a', 'a']; function evolution() { return [0, 0, 0]; }"
                          "var initial = {sweep: {a: 1}};"),
              "'initial.sweep.a' names more than one parameter");
}

} // namespace
