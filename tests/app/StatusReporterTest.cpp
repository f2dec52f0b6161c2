#include "KNStatusReporter.h"

#include <QStatusBar>
#include <gtest/gtest.h>

TEST(StatusReporter, ARefusalShowsOverTheOutcomeUntilANewOutcomeReplacesIt) {
    QStatusBar bar;
    KNStatusReporter reporter(&bar);
    reporter.reportRecomputation("Seed 1 left the finite range.");
    reporter.reportRefusal("The step must be positive; -1 is not.");
    EXPECT_EQ(reporter.currentMessage(), "The step must be positive; -1 is not.");

    // A recomputation that went well does not hide a refusal the user has not read yet.
    reporter.reportRecomputation("");
    EXPECT_EQ(reporter.currentMessage(), "The step must be positive; -1 is not.");
    reporter.reportRecomputation("A script call was stopped.");
    EXPECT_EQ(reporter.currentMessage(), "A script call was stopped.");

    reporter.reportProgress(3, 10);
    EXPECT_TRUE(reporter.isShowingProgress());
    reporter.endProgress();
    EXPECT_FALSE(reporter.isShowingProgress());
    reporter.clear();
    EXPECT_EQ(reporter.currentMessage(), "");
}
