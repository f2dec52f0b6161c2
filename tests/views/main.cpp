#include <QGuiApplication>
#include <QStyleHints>
#include <gtest/gtest.h>

// The views need a running GUI application with a display (xvfb-run in CI).
int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    // The wheel tests count in lines; fix the desktop's lines per notch they convert with.
    QGuiApplication::styleHints()->setWheelScrollLines(3);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
