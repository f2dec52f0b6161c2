#include "Eventually.h"
#include "KNParameterField.h"
#include "KNParameterSliderLink.h"
#include "KNParameterTableView.h"
#include "KNParameterTableViewOwner.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Action {
    std::string name;
    KNParameterField* sender;
    int tag;
    double value;
};

class RecordingOwner : public KNParameterTableViewOwner {
public:
    void changeParameterStart(KNParameterField* sender) override { record("start", sender); }
    void changeParameterEnd(KNParameterField* sender) override { record("end", sender); }

    std::vector<Action> actions;
    // What the owner does in answer, such as storing the value back into the row.
    std::function<void(KNParameterField*)> answer;

private:
    void record(const char* name, KNParameterField* sender) {
        actions.push_back({name, sender, sender->tag(), sender->doubleValue()});
        if (answer) {
            answer(sender);
        }
    }
};

// Replaces the field's text as a user would and presses Return.
void typeAndReturn(KNParameterField* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

QPoint handleCentre(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

class ParameterTableView : public ::testing::Test {
protected:
    std::shared_ptr<RecordingOwner> owner = std::make_shared<RecordingOwner>();
    std::unique_ptr<KNParameterTableView> row =
        std::make_unique<KNParameterTableView>(std::weak_ptr<KNParameterTableViewOwner>(owner));

    void SetUp() override {
        row->nameField()->setText("rho");
        row->minField()->setTag(0);
        row->maxField()->setTag(0);
    }

    void show() {
        row->resize(480, 120);
        row->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(row.get(), patienceMilliseconds));
    }
};

TEST_F(ParameterTableView, ShowsFloatPrecisionButStoresTheDouble) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{0.1, "0.1"}, Case{28.0, "28"}, Case{1.0 / 3.0, "0.33333334"},
                          Case{28.123456789, "28.123457"}, Case{-2.5, "-2.5"}, Case{0.0, "0"},
                          Case{1e300, "1e+300"}, Case{1e-50, "1e-50"}}) {
        row->minField()->setDoubleValue(c.value);
        EXPECT_EQ(row->minField()->text().toStdString(), c.text) << c.value;
        EXPECT_EQ(row->minField()->doubleValue(), c.value);
    }
    EXPECT_TRUE(owner->actions.empty()) << "storing a value is no user action";
}

TEST_F(ParameterTableView, TypedValuesReachTheOwnerExactlyWithTheRowsTag) {
    row->minField()->setTag(2);
    row->maxField()->setTag(2);
    EXPECT_EQ(row->minField()->property("tag").toInt(), 2);
    EXPECT_EQ(row->maxField()->property("tag").toInt(), 2);

    typeAndReturn(row->minField(), "28.123456789");
    typeAndReturn(row->maxField(), "0.1");
    typeAndReturn(row->maxField(), "-7");

    ASSERT_EQ(owner->actions.size(), 3u);
    EXPECT_EQ(owner->actions[0].name, "start");
    EXPECT_EQ(owner->actions[0].sender, row->minField());
    EXPECT_EQ(owner->actions[0].tag, 2);
    EXPECT_EQ(owner->actions[0].value, 28.123456789);
    EXPECT_EQ(owner->actions[1].name, "end");
    EXPECT_EQ(owner->actions[1].sender, row->maxField());
    EXPECT_EQ(owner->actions[1].value, 0.1);
    EXPECT_EQ(owner->actions[2].value, -7.0);
    EXPECT_EQ(row->minField()->text(), "28.123457");
    EXPECT_EQ(row->maxField()->text(), "-7");
}

TEST_F(ParameterTableView, RefusedTextChangesNothingAndShowsTheStoredValueAgain) {
    row->minField()->setDoubleValue(28.123456789);
    for (const char* text : {"", "abc", "nan", "inf", "-inf", "1e400", "1e-400", "2.5x", "1,5"}) {
        typeAndReturn(row->minField(), text);
        EXPECT_EQ(row->minField()->text(), "28.123457") << '"' << text << '"';
        EXPECT_EQ(row->minField()->doubleValue(), 28.123456789);
    }
    // Leaving the field commits an edit just as Return does.
    row->maxField()->setDoubleValue(5.0);
    row->maxField()->setText("abc");
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(row->maxField(), &focusOut);
    EXPECT_EQ(row->maxField()->text(), "5");
    EXPECT_TRUE(owner->actions.empty());
    EXPECT_EQ(row->startSlider()->value(), 562) << "a refused edit moves no slider";
}

TEST_F(ParameterTableView, ReturnOnAnUntouchedFieldSendsNothing) {
    row->minField()->setDoubleValue(28.123456789);
    QTest::keyClick(row->minField(), Qt::Key_Return);
    EXPECT_TRUE(owner->actions.empty());
    EXPECT_EQ(row->minField()->doubleValue(), 28.123456789);
}

TEST_F(ParameterTableView, AcceptsTheDesktopDecimalComma) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    KNParameterTableView germanRow{std::weak_ptr<KNParameterTableViewOwner>(owner)};
    QLocale::setDefault(previous);

    typeAndReturn(germanRow.minField(), "0,5");
    typeAndReturn(germanRow.minField(), "0.25");
    ASSERT_EQ(owner->actions.size(), 2u);
    EXPECT_EQ(owner->actions[0].value, 0.5);
    EXPECT_EQ(owner->actions[1].value, 0.25);
}

TEST_F(ParameterTableView, MovingASliderSendsTheValueAtItsPositionThroughTheField) {
    EXPECT_EQ(row->startSlider()->minimum(), 0);
    EXPECT_EQ(row->startSlider()->maximum(), 1000);

    row->startSlider()->setValue(560);
    row->endSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);

    ASSERT_EQ(owner->actions.size(), 2u);
    EXPECT_EQ(owner->actions[0].name, "start");
    EXPECT_EQ(owner->actions[0].sender, row->minField());
    EXPECT_EQ(owner->actions[0].value, 28.0);
    EXPECT_EQ(row->minField()->text(), "28");
    EXPECT_EQ(owner->actions[1].name, "end");
    EXPECT_EQ(owner->actions[1].sender, row->maxField());
    EXPECT_EQ(owner->actions[1].value, 0.05);
    EXPECT_EQ(row->minField()->doubleValue(), 28.0) << "the end slider leaves the start alone";
}

TEST_F(ParameterTableView, DraggingASliderSendsLiveWhileTheOwnerStoresTheValueBack) {
    show();
    std::vector<bool> sliderDownAtAction;
    owner->answer = [&](KNParameterField* sender) {
        sliderDownAtAction.push_back(row->startSlider()->isSliderDown());
        sender->setDoubleValue(static_cast<float>(sender->doubleValue()));
    };

    QSlider* slider = row->startSlider();
    QPoint point = handleCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, point);
    constexpr int moves = 5;
    for (int i = 0; i < moves; ++i) {
        point += QPoint(15, 0);
        QTest::mouseMove(slider, point);
        ASSERT_EQ(owner->actions.size(), static_cast<std::size_t>(i + 1)) << "one per move";
        EXPECT_EQ(row->minField()->text(), KNParameterField::displayText(owner->actions[i].value));
    }
    QTest::mouseRelease(slider, Qt::LeftButton, {}, point);

    ASSERT_EQ(owner->actions.size(), static_cast<std::size_t>(moves));
    for (int i = 1; i < moves; ++i) {
        EXPECT_GT(owner->actions[i].value, owner->actions[i - 1].value);
    }
    EXPECT_EQ(sliderDownAtAction, std::vector<bool>(moves, true));
    const KNSliderScale& scale = row->startLink().scale();
    EXPECT_EQ(scale, KNSliderScale::around(0.0));
    EXPECT_EQ(owner->actions.back().value, scale.valueAt(slider->value()))
        << "the value sent is the slider's own, not the one stored back";
}

TEST_F(ParameterTableView, StoredValuesMoveTheSliderAndBringItsScaleAroundThem) {
    QSlider* slider = row->endSlider();
    row->maxField()->setDoubleValue(28.0);
    EXPECT_EQ(slider->value(), 560);

    row->maxField()->setDoubleValue(1e300);
    EXPECT_EQ(slider->maximum(), 1000);
    row->maxField()->setDoubleValue(10.0);
    EXPECT_EQ(row->endLink().scale().upperBound(), 20.0) << "the scale shrinks again";
    EXPECT_EQ(slider->value(), 500);
    // A page step moves rho by a tenth of its scale, not by a leftover of the extreme value.
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(owner->actions.back().value, 12.0);

    row->maxField()->setDoubleValue(-3.0);
    EXPECT_EQ(slider->minimum(), -1000);
    EXPECT_EQ(slider->value(), -600);

    // A small parameter moves in steps of a few thousandths of itself.
    row->maxField()->setDoubleValue(0.05);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_NEAR(owner->actions.back().value, 0.0501, 1e-12);
    EXPECT_EQ(row->endLink().scale().upperBound(), 0.1) << "the slider's own steps keep it";
}

TEST_F(ParameterTableView, DropsActionsOnceTheOwnerIsGone) {
    owner.reset();
    EXPECT_EQ(row->owner(), nullptr);
    typeAndReturn(row->minField(), "28");
    row->endSlider()->setValue(100);
    EXPECT_EQ(row->minField()->doubleValue(), 28.0);
}

} // namespace
