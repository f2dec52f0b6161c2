#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One QApplication for the whole binary: the row views are real widgets.
class WidgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application = std::make_unique<QApplication>(argc, argv); }
    void TearDown() override { application.reset(); }

private:
    int argc = 1;
    char name[32] = "kinora_params_tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> application;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

} // namespace
