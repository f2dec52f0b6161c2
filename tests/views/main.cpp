#include <QApplication>
#include <gtest/gtest.h>

// The views need a running GUI application with a display (xvfb-run in CI). The 2-D panels are
// widgets, so it is a widget application, as the program's own.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
