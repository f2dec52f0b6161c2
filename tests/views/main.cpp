#include <QGuiApplication>
#include <gtest/gtest.h>

// The views need a running GUI application with a display (xvfb-run in CI).
int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
