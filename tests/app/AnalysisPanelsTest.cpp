#include "ControllerTest.h"
#include "KNAnalysisPanels.h"
#include "KNDocumentActions.h"
#include "KNDocumentOpener.h"
#include "KNNumberField.h"
#include "KNOrbitDiagramPanel.h"
#include "KNScatterView.h"
#include "KNSectionPanel.h"
#include "KNSessionReader.h"
#include "KNSessionWriter.h"

#include <QDockWidget>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>

namespace {

class AnalysisPanelsTest : public ControllerTest {
protected:
    int runHeadless(const QStringList& arguments, QByteArray* errors = nullptr) {
        return ::runHeadless(folder.filePath("data"), arguments, errors);
    }

    static kinora::AnalysisPanelSettings unusualSettings() {
        kinora::AnalysisPanelSettings settings;
        settings.section = {0, 1.0 / 3.0, kinora::CrossingDirection::decreasing};
        settings.sectionShown = true;
        settings.orbitDiagramShown = true;
        settings.orbit.resolution = 123;
        settings.orbit.seed = {-2.5, 0.1, 7.0 / 3.0};
        settings.orbit.transientTime = 12.5;
        settings.orbit.recordedTime = 20.0;
        settings.orbit.quantity = kinora::OrbitQuantity::sectionCrossings;
        settings.orbit.variable = 2;
        return settings;
    }

    static void expectSameSettings(const kinora::AnalysisPanelSettings& a,
                                   const kinora::AnalysisPanelSettings& b) {
        EXPECT_EQ(a.section.axis, b.section.axis);
        EXPECT_EQ(a.section.value, b.section.value);
        EXPECT_EQ(a.section.direction, b.section.direction);
        EXPECT_EQ(a.sectionShown, b.sectionShown);
        EXPECT_EQ(a.orbitDiagramShown, b.orbitDiagramShown);
        EXPECT_EQ(a.orbit.resolution, b.orbit.resolution);
        EXPECT_EQ(a.orbit.seed.x, b.orbit.seed.x);
        EXPECT_EQ(a.orbit.seed.y, b.orbit.seed.y);
        EXPECT_EQ(a.orbit.seed.z, b.orbit.seed.z);
        EXPECT_EQ(a.orbit.transientTime, b.orbit.transientTime);
        EXPECT_EQ(a.orbit.recordedTime, b.orbit.recordedTime);
        EXPECT_EQ(a.orbit.quantity, b.orbit.quantity);
        EXPECT_EQ(a.orbit.variable, b.orbit.variable);
    }
};

TEST_F(AnalysisPanelsTest, PlaneDiagramAndShownPanelsSurviveASessionAndDamageIsRefused) {
    auto original = lorenzWindow();
    original->setSystemSource({KNSystemSource::Kind::builtIn, "lorenz", {}});
    ASSERT_FALSE(original->analysisPanels()->apply(unusualSettings()));
    const QString path = folder.filePath("analysis.kinora");
    KNDocumentActions actions(original, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    ASSERT_TRUE(actions.saveSession(path));

    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::open(QUrl::fromLocalFile(path), *alerts);
    ASSERT_TRUE(document);
    auto reopened = KNPlotWindowController::initWithDocument(std::move(*document), alerts);
    reopened->showWindow();
    ASSERT_TRUE(settle(*reopened));
    expectSameSettings(reopened->analysisPanels()->settings(), unusualSettings());
    EXPECT_TRUE(reopened->analysisPanels()->sectionDock()->isVisible());
    EXPECT_TRUE(reopened->analysisPanels()->orbitDock()->isVisible());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string valid = file.readAll().toStdString();
    const struct {
        const char* from;
        const char* to;
        const char* complaint;
    } damages[] = {
        {"\"values\": 123", "\"values\": 99",
         "'analysis.orbitDiagram.values' must be a whole number from 100 to 5000"},
        {"\"direction\": \"down\"", "\"direction\": \"sideways\"",
         "'analysis.section.direction' must be \"up\", \"down\" or \"both\""},
        {"\"transient\": 12.5", "\"transient\": -1", "transient must be a finite time"},
        {"\"variable\": \"z\"", "\"variable\": \"x\"", "all have the same x"},
        {"\"shown\": true", "\"shown\": 1", "must be true or false"},
    };
    for (const auto& damage : damages) {
        std::string text = valid;
        const std::size_t at = text.find(damage.from);
        ASSERT_NE(at, std::string::npos) << damage.from;
        text.replace(at, std::strlen(damage.from), damage.to);
        KNError error;
        EXPECT_FALSE(KNSessionReader::parse(QByteArray::fromStdString(text), &error));
        EXPECT_NE(error.failureReason.find(damage.complaint), std::string::npos)
            << error.failureReason;
    }
    // A file without the panels opens with both hidden.
    QJsonObject without = QJsonDocument::fromJson(QByteArray::fromStdString(valid)).object();
    without.remove(QStringLiteral("analysis"));
    without[QStringLiteral("version")] = 2;
    const auto old = KNSessionReader::parse(QJsonDocument(without).toJson());
    ASSERT_TRUE(old);
    EXPECT_FALSE(old->analysis.sectionShown || old->analysis.orbitDiagramShown);
}

TEST_F(AnalysisPanelsTest, TheSectionShowsItsCrossingsAndTheDiagramFillsInAcrossTheSweep) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 24.0, 250.0);
    controller->changeParameterSweep(1, 10.0, 10.0);
    controller->changeParameterSweep(2, 8.0 / 3.0, 8.0 / 3.0);
    controller->changePathDuration(40.0);
    kinora::AnalysisPanelSettings settings;
    settings.section = {2, 27.0, kinora::CrossingDirection::increasing};
    settings.sectionShown = true;
    settings.orbitDiagramShown = true;
    settings.orbit.resolution = 100;
    KNAnalysisPanels& panels = *controller->analysisPanels();
    ASSERT_FALSE(panels.apply(settings));
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    ASSERT_TRUE(eventually([&] { return !panels.isComputingDiagram(); }));
    EXPECT_GT(panels.sectionPanel()->scatterView()->picture().pointCount(), 50u);
    EXPECT_GT(panels.orbitPanel()->scatterView()->picture().pointCount(), 300u);
    // Dots coloured by s over the plot view's paths.
    EXPECT_GT(countPathPixels(controller->plotView()->renderImage(QSize(400, 300))), 500);

    // A plane no path reaches leaves the panel empty, saying so.
    typeInto(panels.sectionPanel()->valueField(), QStringLiteral("1e6"));
    ASSERT_TRUE(settle(*controller));
    EXPECT_EQ(panels.sectionPanel()->scatterView()->picture().pointCount(), 0u);
    EXPECT_EQ(panels.settings().section.value, 1e6);

    // A resolution out of range is refused with the reason, keeping the one in force.
    typeInto(panels.orbitPanel()->valuesField(), QStringLiteral("5001"));
    EXPECT_EQ(panels.settings().orbit.resolution, 100);
    EXPECT_EQ(panels.orbitPanel()->valuesField()->text(), QStringLiteral("100"));
}

TEST_F(AnalysisPanelsTest, PanelsExportHeadlessAndMistakesAreRefused) {
    const QString script = KINORA_SOURCE_DIR "/examples/lorenz.js";
    const QString picture = folder.filePath("panel.png");
    QByteArray errors;
    ASSERT_EQ(runHeadless({"--export-image", picture, "--view", "section", "--section", "z=27",
                           "--size", "400x300", script},
                          &errors),
              0)
        << errors.toStdString();
    QImage image(picture);
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_GT(countPathPixels(image), 100);

    ASSERT_EQ(runHeadless(
                  {"--export-image", picture, "--view", "orbit-diagram", "--values", "100", script},
                  &errors),
              0)
        << errors.toStdString();
    EXPECT_GT(countPathPixels(QImage(picture)), 300);

    EXPECT_EQ(runHeadless({"--export-image", picture, "--view", "sideways", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("--view needs plot, time-series, orbit-diagram or section"))
        << errors.data();
    EXPECT_EQ(runHeadless({"--export-data", picture, "--view", "section", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("--view applies to --export-image only")) << errors.data();
    EXPECT_EQ(runHeadless({"--export-image", picture, "--view", "section", script}, &errors), 1);
    EXPECT_TRUE(errors.contains("--view section needs a section plane")) << errors.data();

    // A script that declares its plane needs none on the command line.
    QFile lorenz(script);
    ASSERT_TRUE(lorenz.open(QIODevice::ReadOnly));
    const QString declaring =
        writeFile(folder, "declaring.js",
                  lorenz.readAll().toStdString() +
                      "\ninitial.section = {axis: 'z', value: 27, direction: 'up'};\n");
    ASSERT_EQ(runHeadless(
                  {"--export-image", picture, "--view", "section", "--size", "400x300", declaring},
                  &errors),
              0)
        << errors.toStdString();
    EXPECT_GT(countPathPixels(QImage(picture)), 100);
}

} // namespace
