#include "ControllerTest.h"
#include "KNParameterField.h"
#include "KNParameterSliderLink.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPlotWindow.h"
#include "KNStatusReporter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Every parameter moves its own coordinate, so each mapping shows in the trajectories.
const char* const fiveParameterScript = R"(
var parameters = ["p0", "p1", "p2", "p3", "p4"];
function evolution(p, x, y, z) { return [p[0] + p[3] - x, p[1] + p[4] - y, p[2] - z]; }
)";

class ParameterControlsTest : public ControllerTest {
protected:
    static KNParameterTableView* row(KNPlotWindowController& controller, int index) {
        return parameterRow(controller.sliderTableView(), index);
    }

    // Chooses item index of popup as the user would, so its action is sent.
    static void choose(QComboBox* popup, int index) {
        popup->setCurrentIndex(index);
        emit popup->activated(index);
    }

    static std::array<double, 3> startHandle(KNPlotWindowController& controller) {
        KNParameterSpaceView* view = controller.parameterView();
        return {view->minValueForAxis(0), view->minValueForAxis(1), view->minValueForAxis(2)};
    }
    static std::array<double, 3> endHandle(KNPlotWindowController& controller) {
        KNParameterSpaceView* view = controller.parameterView();
        return {view->maxValueForAxis(0), view->maxValueForAxis(1), view->maxValueForAxis(2)};
    }

    // Every path of every seed matches the core's computation for the system's current sweep.
    // An edit recomputes in slices: the paths are read once it has ended.
    void expectPathsFollowTheSweep(KNPlotWindowController& controller) {
        waitForRecomputation(controller);
        for (Seed* seed : seedsOf(controller.plotView())) {
            const std::vector<PathContents> paths = pathsOf(controller.plotView(), seed);
            for (int m = 0; m < 10; m += 3) {
                SCOPED_TRACE(m);
                const double s = m / 9.0;
                expectPath(
                    paths[static_cast<std::size_t>(m)],
                    expectedTrajectory(controller.system(), 0.01, s, seed->transform.position),
                    static_cast<float>(s));
            }
        }
    }

    // The first seed's paths at the start and at the end of the sweep, one after the other.
    static std::vector<kinora::PathVertex> sweepEnds(KNPlotWindowController& controller) {
        waitForRecomputation(controller);
        KNPlotView* view = controller.plotView();
        const Seed* seed = seedsOf(view).front();
        std::vector<kinora::PathVertex> ends = pathContents(view, seed->pathIDs[0]).vertices;
        const std::vector<kinora::PathVertex> last = pathContents(view, seed->pathIDs[9]).vertices;
        ends.insert(ends.end(), last.begin(), last.end());
        return ends;
    }

    static bool samePath(const std::vector<kinora::PathVertex>& a,
                         const std::vector<kinora::PathVertex>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](const auto& u, const auto& v) {
                   return std::equal(std::begin(u.position), std::end(u.position),
                                     std::begin(v.position));
               });
    }
};

TEST_F(ParameterControlsTest, ANewWindowStartsWithTableAndHandlesInStep) {
    auto controller = lorenzWindow();
    QTableWidget* table = controller->sliderTableView();
    ASSERT_EQ(controller->numberOfRowsInTableView(table), 3);
    ASSERT_EQ(table->rowCount(), 3);
    const char* names[] = {"rho", "sigma", "beta"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        KNParameterTableView* view = row(*controller, i);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->nameField()->text(), names[i]);
        EXPECT_EQ(view->minField()->text(), "0");
        EXPECT_EQ(view->maxField()->text(), "0");
        EXPECT_EQ(view->minField()->tag(), i);
        EXPECT_EQ(view->maxField()->tag(), i);
        EXPECT_GE(table->rowHeight(i), view->sizeHint().height());
        // Useful for Lorenz: rho's sliders reach from 0 to 50.
        EXPECT_EQ(view->startLink().scale().valueAt(view->startSlider()->minimum()), 0.0);
        EXPECT_EQ(view->startLink().scale().valueAt(view->startSlider()->maximum()), 50.0);
    }
    EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(endHandle(*controller), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(controller->parameterView()->delegate().get(), controller.get());
}

TEST_F(ParameterControlsTest, TypingAStartStoresItMovesTheHandleAndRecomputesEverySeed) {
    auto controller = lorenzWindow();
    controller->addSeed();
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);
    KNParameterTableView* rho = row(*controller, 0);

    typeInto(rho->minField(), "28");
    EXPECT_EQ(controller->system().parameter(0).min(), 28.0);
    EXPECT_EQ(controller->system().parameter(0).max(), 0.0);
    EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{28, 0, 0}));
    EXPECT_EQ(endHandle(*controller), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(rho->minField()->text(), "28");
    // The row was refilled, not replaced, while its own field was sending.
    EXPECT_EQ(row(*controller, 0), rho);
    EXPECT_FALSE(samePath(sweepEnds(*controller), before));
    expectPathsFollowTheSweep(*controller);

    // Stored as typed: an end below the start sweeps downward.
    typeInto(rho->maxField(), "10");
    EXPECT_EQ(controller->system().parameter(0).max(), 10.0);
    EXPECT_EQ(endHandle(*controller), (std::array<double, 3>{10, 0, 0}));
    expectPathsFollowTheSweep(*controller);

    // 0.1 is kept as the double it reads as and shown in float precision.
    typeInto(row(*controller, 1)->maxField(), "0.1");
    EXPECT_EQ(controller->system().parameter(1).max(), 0.1);
    EXPECT_EQ(controller->parameterView()->maxValueForAxis(1), 0.1);
    controller->parameterView()->setEndValue(1.0 / 3.0, 1);
    controller->parameterSpaceViewBoundsDidChange(controller->parameterView());
    EXPECT_EQ(controller->system().parameter(1).max(), 1.0 / 3.0);
    EXPECT_EQ(row(*controller, 1)->maxField()->text(), "0.33333334");
}

TEST_F(ParameterControlsTest, TextThatIsNoFiniteNumberChangesNothing) {
    auto controller = lorenzWindow();
    KNParameterTableView* rho = row(*controller, 0);
    typeInto(rho->minField(), "28");
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);

    for (const char* text : {"", "abc", "nan", "1e400", "-inf", "28abc"}) {
        SCOPED_TRACE(text);
        typeInto(rho->minField(), text);
        EXPECT_EQ(controller->system().parameter(0).min(), 28.0);
        EXPECT_EQ(rho->minField()->text(), "28");
        EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{28, 0, 0}));
        EXPECT_NE(controller->statusReporter()->currentMessage(), "");
        controller->statusReporter()->clear();
    }
    EXPECT_TRUE(samePath(sweepEnds(*controller), before));

    // A sender whose tag names no parameter is ignored.
    KNParameterField stray;
    stray.setDoubleValue(5.0);
    for (int tag : {-1, 3, 1000}) {
        stray.setTag(tag);
        controller->changeParameterStart(&stray);
        controller->changeParameterEnd(&stray);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(controller->system().parameter(i).max(), 0.0);
    }
    EXPECT_EQ(controller->system().parameter(0).min(), 28.0);
    EXPECT_TRUE(alerts->messages.empty());

    // A refusal no longer holds once a valid value is taken, in this field or another.
    typeInto(rho->minField(), "abc");
    EXPECT_EQ(controller->statusReporter()->currentMessage(), "\"abc\" is not a finite number.");
    typeInto(rho->minField(), "15");
    EXPECT_EQ(controller->system().parameter(0).min(), 15.0);
    EXPECT_EQ(controller->statusReporter()->currentMessage(), "");
    typeInto(controller->evolutionsControl(), "2.5");
    EXPECT_NE(controller->statusReporter()->currentMessage(), "");
    typeInto(controller->integrationStepControl(), "0.02");
    EXPECT_EQ(controller->statusReporter()->currentMessage(), "");
}

TEST_F(ParameterControlsTest, TabGoesThroughTheFieldsInReadingOrderAndEscapeRevertsAnEdit) {
    auto controller = lorenzWindow();
    controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window(), patienceMilliseconds));
    row(*controller, 0)->minField()->setFocus();
    for (const char* value : {"1", "2", "3", "4", "5", "6"}) {
        QWidget* field = QApplication::focusWidget();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, value);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(controller->system().parameter(i).min(), 2.0 * i + 1) << i;
        EXPECT_EQ(controller->system().parameter(i).max(), 2.0 * i + 2) << i;
    }
    row(*controller, 1)->minField()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), row(*controller, 0)->maxField());

    KNParameterField* betaStart = row(*controller, 2)->minField();
    betaStart->setFocus();
    QTest::keyClicks(betaStart, "99");
    QTest::keyClick(betaStart, Qt::Key_Escape);
    EXPECT_EQ(betaStart->text(), "5");
    row(*controller, 2)->maxField()->setFocus();
    EXPECT_EQ(controller->system().parameter(2).min(), 5.0);
}

TEST_F(ParameterControlsTest, AThousandParametersMakeRowViewsOnlyForTheRowsInView) {
    std::string names = "\"p0\"";
    for (int i = 1; i < 1000; ++i) {
        names += ", \"p" + std::to_string(i) + "\"";
    }
    auto controller = scriptWindow(("var parameters = [" + names +
                                    "];\nfunction evolution(p, x, y, z) { return [-x, -y, -z]; }")
                                       .c_str());
    ASSERT_TRUE(controller);
    controller->window()->resize(900, 640);
    controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window(), patienceMilliseconds));
    QTableWidget* table = controller->sliderTableView();
    ASSERT_EQ(table->rowCount(), 1000);
    const auto rowViews = [table] {
        int count = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            count += table->cellWidget(row, 0) != nullptr ? 1 : 0;
        }
        return count;
    };
    // The rows in view, one cut by the bottom edge and one beyond each edge.
    const int inView = table->viewport()->height() / table->rowHeight(0) + 3;
    EXPECT_LE(rowViews(), inView);

    KNParameterTableView* far = parameterRow(table, 900);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->nameField()->text(), "p900");
    EXPECT_EQ(far->minField()->tag(), 900);
    typeInto(far->maxField(), "3");
    EXPECT_EQ(controller->system().parameter(900).max(), 3.0);
    EXPECT_LE(rowViews(), 2 * inView);

    // A drag while the first rows are out of view shows in them when they come back.
    controller->parameterView()->setStartValue(7.0, 0);
    controller->parameterSpaceViewBoundsDidChange(controller->parameterView());
    parameterRow(table, 0)->minField()->setFocus();
    EXPECT_EQ(parameterRow(table, 0)->minField()->text(), "7");

    // Tab walks on past the rows that were in view at first.
    const int fields = 2 * (inView + 2);
    for (int i = 0; i < fields; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    auto* field = qobject_cast<KNParameterField*>(QApplication::focusWidget());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field, parameterRow(table, fields / 2)->minField());
    EXPECT_EQ(table->rowAt(field->mapTo(table->viewport(), QPoint(0, 0)).y()), fields / 2);
}

TEST_F(ParameterControlsTest, NamesAreShownAsTheyAreWritten) {
    auto controller = scriptWindow(R"(
var parameters = ["<b>x</b>"];
function evolution(p, x, y, z) { return [0, 0, 0]; }
)");
    ASSERT_TRUE(controller);
    QLabel* name = row(*controller, 0)->nameField();
    EXPECT_EQ(name->text(), "<b>x</b>");
    EXPECT_EQ(name->textFormat(), Qt::PlainText);
}

TEST_F(ParameterControlsTest, AnEditOfAnUnmappedParameterMovesNoHandle) {
    auto controller = scriptWindow(fiveParameterScript);
    ASSERT_TRUE(controller);
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);

    typeInto(row(*controller, 3)->maxField(), "4");
    EXPECT_EQ(controller->system().parameter(3).max(), 4.0);
    EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(endHandle(*controller), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(row(*controller, 3)->maxField()->text(), "4");
    EXPECT_FALSE(samePath(sweepEnds(*controller), before));
}

TEST_F(ParameterControlsTest, ARemappedParameterTakesTheHandlesCoordinates) {
    auto controller = scriptWindow(fiveParameterScript);
    ASSERT_TRUE(controller);
    typeInto(row(*controller, 0)->minField(), "2");
    typeInto(row(*controller, 0)->maxField(), "5");
    typeInto(row(*controller, 3)->minField(), "7");
    typeInto(row(*controller, 3)->maxField(), "9");
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);

    choose(controller->xPopupButton(), 4);
    EXPECT_EQ(controller->axisToParameterMapping(), (std::array<std::int32_t, 3>{3, 1, 2}));
    EXPECT_EQ(controller->system().parameter(3).min(), 2.0);
    EXPECT_EQ(controller->system().parameter(3).max(), 5.0);
    EXPECT_EQ(row(*controller, 3)->minField()->text(), "2");
    EXPECT_EQ(row(*controller, 3)->maxField()->text(), "5");
    // The parameter that left the axis keeps its sweep; the handles did not move.
    EXPECT_EQ(controller->system().parameter(0).min(), 2.0);
    EXPECT_EQ(controller->system().parameter(0).max(), 5.0);
    EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{2, 0, 0}));
    EXPECT_EQ(endHandle(*controller), (std::array<double, 3>{5, 0, 0}));
    EXPECT_FALSE(samePath(sweepEnds(*controller), before));
}

TEST_F(ParameterControlsTest, AnAxisShowingNoneLeavesItsParameterAloneOnADrag) {
    auto controller = lorenzWindow();
    typeInto(row(*controller, 2)->minField(), "2.5");
    choose(controller->zPopupButton(), 0);
    EXPECT_EQ(controller->axisToParameterMapping(), (std::array<std::int32_t, 3>{0, 1, -1}));
    EXPECT_EQ(controller->system().parameter(2).min(), 2.5);

    KNParameterSpaceView* view = controller->parameterView();
    for (int axis = 0; axis < 3; ++axis) {
        view->setStartValue(10.0 + axis, axis);
        view->setEndValue(20.0 + axis, axis);
    }
    controller->parameterSpaceViewBoundsDidChange(view);
    EXPECT_EQ(controller->system().parameter(0).min(), 10.0);
    EXPECT_EQ(controller->system().parameter(0).max(), 20.0);
    EXPECT_EQ(controller->system().parameter(1).min(), 11.0);
    EXPECT_EQ(controller->system().parameter(1).max(), 21.0);
    EXPECT_EQ(controller->system().parameter(2).min(), 2.5);
    EXPECT_EQ(controller->system().parameter(2).max(), 0.0);
    EXPECT_EQ(row(*controller, 1)->maxField()->text(), "21");
    expectPathsFollowTheSweep(*controller);
}

TEST_F(ParameterControlsTest, AParameterOnTwoAxesFollowsBothHandlesAndEndsWithTheLast) {
    auto controller = lorenzWindow();
    choose(controller->yPopupButton(), 1);
    ASSERT_EQ(controller->axisToParameterMapping(), (std::array<std::int32_t, 3>{0, 0, 2}));

    typeInto(row(*controller, 0)->minField(), "6");
    EXPECT_EQ(startHandle(*controller), (std::array<double, 3>{6, 6, 0}));

    KNParameterSpaceView* view = controller->parameterView();
    view->setStartValue(1.0, 0);
    view->setEndValue(2.0, 0);
    view->setStartValue(3.0, 1);
    view->setEndValue(4.0, 1);
    controller->parameterSpaceViewBoundsDidChange(view);
    EXPECT_EQ(controller->system().parameter(0).min(), 3.0);
    EXPECT_EQ(controller->system().parameter(0).max(), 4.0);
}

TEST_F(ParameterControlsTest, MovingASliderSetsTheValueLiveThroughTheSameAction) {
    auto controller = lorenzWindow();
    KNParameterTableView* rho = row(*controller, 0);
    QSlider* slider = rho->startSlider();
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);

    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const double value = rho->startLink().scale().valueAt(slider->value());
    ASSERT_GT(value, 0.0);
    EXPECT_EQ(controller->system().parameter(0).min(), value);
    EXPECT_EQ(controller->parameterView()->minValueForAxis(0), value);
    EXPECT_EQ(rho->minField()->doubleValue(), value);
    EXPECT_FALSE(samePath(sweepEnds(*controller), before));

    slider->setValue(slider->maximum());
    EXPECT_EQ(controller->system().parameter(0).min(), 50.0);
    EXPECT_EQ(rho->minField()->text(), "50");
    EXPECT_EQ(row(*controller, 0), rho);
}

TEST_F(ParameterControlsTest, DraggingAHandleWithTheMouseChangesTheTrajectories) {
    auto controller = lorenzWindow();
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    const std::vector<kinora::PathVertex> before = sweepEnds(*controller);

    // Both handles stand at the origin: the one white point of the picture.
    const QImage picture = screenImageOf(controller->window()->ui().parameterViewPlaceholder);
    const QPoint handle = whitePointIn(picture);
    ASSERT_GE(handle.x(), 0) << "no handle in the picture";

    KNParameterSpaceView* view = controller->parameterView();
    QTest::mousePress(view, Qt::LeftButton, {}, handle);
    QTest::mouseMove(view, handle + QPoint(30, -20));
    QTest::mouseMove(view, handle + QPoint(60, -40));
    QTest::mouseRelease(view, Qt::LeftButton, {}, handle + QPoint(60, -40));

    const std::array<double, 3> start = startHandle(*controller);
    const std::array<double, 3> end = endHandle(*controller);
    ASSERT_NE(start == (std::array<double, 3>{0, 0, 0}), end == (std::array<double, 3>{0, 0, 0}))
        << "exactly one handle should have moved";
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(controller->system().parameter(axis).min(),
                  start[static_cast<std::size_t>(axis)]);
        EXPECT_EQ(controller->system().parameter(axis).max(), end[static_cast<std::size_t>(axis)]);
        EXPECT_EQ(row(*controller, axis)->minField()->doubleValue(),
                  start[static_cast<std::size_t>(axis)]);
    }
    EXPECT_FALSE(samePath(sweepEnds(*controller), before));
    expectPathsFollowTheSweep(*controller);
}

} // namespace
