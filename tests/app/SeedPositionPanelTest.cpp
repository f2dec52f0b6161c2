#include "ControllerTest.h"
#include "KNNumberField.h"
#include "KNPlotWindow.h"
#include "KNSeedPositionPanel.h"
#include "KNStatusReporter.h"

#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class SeedPositionPanelTest : public ControllerTest {
protected:
    // Clicks the window's one seed, as drawn; returns where it was.
    static QPoint clickTheSeed(KNPlotWindowController& controller) {
        const QPoint seedPixel =
            whitePointIn(screenImageOf(controller.window()->ui().plotViewPlaceholder));
        QTest::mouseClick(controller.plotView(), Qt::LeftButton, {}, seedPixel);
        return seedPixel;
    }

    static std::array<QString, 3> shown(KNPlotWindowController& controller) {
        KNSeedPositionPanel* panel = controller.seedPositionPanel();
        return {panel->field(0)->text(), panel->field(1)->text(), panel->field(2)->text()};
    }
};

TEST_F(SeedPositionPanelTest, TypedCoordinatesMoveTheSeedAndTheKeysRemoveAndDeselectIt) {
    auto controller = lorenzWindow();
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    Seed* seed = firstSeed(*controller);
    KNSeedPositionPanel* panel = controller->seedPositionPanel();
    EXPECT_FALSE(panel->field(0)->isEnabled());

    const QPoint seedPixel = clickTheSeed(*controller);
    ASSERT_EQ(controller->plotView()->selectedSeed(), seed);
    EXPECT_EQ(shown(*controller), (std::array<QString, 3>{"1", "1", "1"}));

    // The fields follow a drag.
    QTest::mousePress(controller->plotView(), Qt::LeftButton, {}, seedPixel);
    QTest::mouseMove(controller->plotView(), seedPixel + QPoint(40, 10));
    QTest::mouseRelease(controller->plotView(), Qt::LeftButton, {}, seedPixel + QPoint(40, 10));
    EXPECT_EQ(panel->field(0)->doubleValue(), seed->transform.position.x);
    EXPECT_NE(seed->transform.position.x, 1.0);
    // Readable from its start while idle, exact while edited.
    EXPECT_EQ(panel->field(0)->text(), KNNumberField::roundedText(seed->transform.position.x, 6));
    panel->field(0)->setFocus();
    EXPECT_EQ(panel->field(0)->text(), KNNumberField::shortestText(seed->transform.position.x));
    panel->field(1)->setFocus();
    EXPECT_EQ(panel->field(0)->text(), KNNumberField::roundedText(seed->transform.position.x, 6));

    typeInto(panel->field(0), "-2");
    typeInto(panel->field(1), "3e0");
    typeInto(panel->field(2), "5");
    EXPECT_EQ(seed->transform.position.x, -2.0);
    EXPECT_EQ(seed->transform.position.y, 3.0);
    EXPECT_EQ(seed->transform.position.z, 5.0);
    expectPath(pathsOf(controller->plotView(), seed)[4],
               expectedTrajectory(controller->system(), 0.01, 4.0 / 9.0, {-2.0, 3.0, 5.0}),
               static_cast<float>(4.0 / 9.0));

    for (const char* refused : {"1e39", "north"}) {
        typeInto(panel->field(2), refused);
        EXPECT_EQ(seed->transform.position.z, 5.0);
        EXPECT_EQ(panel->field(2)->text(), "5");
        EXPECT_NE(controller->statusReporter()->currentMessage(), "");
        controller->statusReporter()->clear();
    }

    // Escape deselects, wherever the focus is that does not use the key itself.
    QTest::keyClick(controller->plotView(), Qt::Key_Escape);
    EXPECT_EQ(controller->plotView()->selectedSeed(), nullptr);
    EXPECT_FALSE(panel->field(0)->isEnabled());
    EXPECT_FALSE(controller->removeSeedButton()->isEnabled());
    // Delete with nothing selected removes nothing; with the seed selected it removes it.
    QTest::keyClick(controller->plotView(), Qt::Key_Delete);
    EXPECT_EQ(seedsOf(controller->plotView()).size(), 1u);
    controller->addSeed();
    seed->transform.position = {0.5, 0.5, 0.5};
    controller->plotViewSeedWasMoved(controller->plotView(), seed);
    controller->plotView()->redraw();
    ASSERT_TRUE(settle(*controller));
    clickTheSeed(*controller);
    ASSERT_NE(controller->plotView()->selectedSeed(), nullptr);
    QTest::keyClick(controller->window(), Qt::Key_Backspace);
    EXPECT_EQ(seedsOf(controller->plotView()).size(), 1u);
}

} // namespace
