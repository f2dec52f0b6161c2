#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One QApplication for the whole binary, with the user's data and configuration folders moved
// into a temporary folder so no test touches the real recent files or settings.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        home = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(home->isValid());
        setenv("XDG_DATA_HOME", qPrintable(home->filePath("data")), 1);
        setenv("XDG_CONFIG_HOME", qPrintable(home->filePath("config")), 1);
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName("kinora_app_tests");
    }

    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        application.reset();
        home.reset();
    }

private:
    int argc = 1;
    char name[32] = "kinora_app_tests";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QApplication> application;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
