#include "ControllerTest.h"
#include "KNDocumentActions.h"
#include "KNDocumentOpener.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPlotWindow.h"
#include "KNScriptFile.h"
#include "KNSessionDocument.h"
#include "KNSessionReader.h"
#include "KNSessionWriter.h"
#include "LXAppDelegate.h"
#include "RK4Integrator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>

namespace {

std::string readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

class SessionTest : public ControllerTest {
protected:
    // The launch window, known as the built-in Lorenz system.
    std::shared_ptr<KNPlotWindowController> builtInLorenzWindow() {
        auto controller = lorenzWindow();
        controller->setSystemSource({KNSystemSource::Kind::builtIn, "lorenz", {}});
        return controller;
    }

    // A script window with a sweep, three seeds at awkward positions, seven evolutions, an
    // unusual step and turned, zoomed views: what a session must bring back exactly.
    std::shared_ptr<KNPlotWindowController> exploredWindow() {
        std::optional<std::string> source = readScriptFile(KINORA_SOURCE_DIR "/examples/lorenz.js");
        auto controller =
            KNPlotWindowController::initWithSourceString(*source, alerts, "lorenz.js");
        controller->window()->resize(900, 640);
        controller->showWindow();
        settle();
        const double sweep[3][2] = {{10.0, 28.0}, {10.0 / 3.0, 10.0}, {8.0 / 3.0, 8.0 / 3.0}};
        for (int i = 0; i < 3; ++i) {
            auto* row = qobject_cast<KNParameterTableView*>(
                controller->sliderTableView()->cellWidget(i, 0));
            row->minField()->enterDoubleValue(sweep[i][0]);
            row->maxField()->enterDoubleValue(sweep[i][1]);
        }
        for (const kinora::Vector3& position :
             {kinora::Vector3(-3.1, 2.0 / 7.0, 12.5), kinora::Vector3(0.1, 0.2, 0.3)}) {
            controller->addSeed();
            controller->moveSelectedSeed(position);
        }
        // A selection is not part of a session.
        controller->cancelOperation();
        controller->changeIntegrationStep(0.0123);
        controller->changeEvolutions(7);
        KNViewCamera camera = controller->plotView()->viewCamera();
        camera.sceneTransform.rotate(33.0f, kinora::yAxis);
        camera.sceneTransform.rotate(-21.0f, kinora::xAxis);
        camera.sceneTransform.scale = kinora::Vector3(0.07, 0.07, 0.07);
        camera.projection = kinora::Camera::Projection::orthographic;
        controller->plotView()->setViewCamera(camera);
        controller->plotView()->redraw();
        return controller;
    }

    QString savedSession(KNPlotWindowController& controller) {
        const QString path = folder.filePath("explored.kinora");
        KNError error;
        const auto session = KNSessionDocument::capture(controller, &error);
        EXPECT_TRUE(session && KNSessionWriter::writeFile(path.toStdString(), *session, &error))
            << error.failureReason;
        return path;
    }
};

TEST_F(SessionTest, ASavedWindowReopensWithTheSameTrajectoriesAndPicture) {
    auto original = exploredWindow();
    KNDocumentActions actions(original, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    const QString path = folder.filePath("explored.kinora");
    ASSERT_TRUE(actions.saveSession(path)) << alerts->messages.front();

    auto reopened = KNDocumentOpener::open(QUrl::fromLocalFile(path), alerts);
    ASSERT_TRUE(reopened);
    reopened->showWindow();
    settle();
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(reopened->title(), std::optional<std::string>("lorenz.js"));
    EXPECT_EQ(reopened->evolutionCount(), 7);
    EXPECT_EQ(reopened->integrator().integrationStep(), 0.0123);
    EXPECT_EQ(reopened->axisToParameterMapping(), original->axisToParameterMapping());
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(reopened->parameterView()->minValueForAxis(axis),
                  original->parameterView()->minValueForAxis(axis));
        EXPECT_EQ(reopened->parameterView()->maxValueForAxis(axis),
                  original->parameterView()->maxValueForAxis(axis));
    }

    const std::vector<Seed*> seeds = seedsOf(original->plotView());
    const std::vector<Seed*> restoredSeeds = seedsOf(reopened->plotView());
    ASSERT_EQ(restoredSeeds.size(), seeds.size());
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const auto paths = pathsOf(original->plotView(), seeds[i]);
        const auto restoredPaths = pathsOf(reopened->plotView(), restoredSeeds[i]);
        for (std::size_t m = 0; m < paths.size(); ++m) {
            ASSERT_EQ(paths[m].vertices.size(), restoredPaths[m].vertices.size());
            EXPECT_EQ(paths[m].sValue, restoredPaths[m].sValue);
            EXPECT_EQ(std::memcmp(paths[m].vertices.data(), restoredPaths[m].vertices.data(),
                                  paths[m].vertices.size() * sizeof(kinora::PathVertex)),
                      0)
                << "seed " << i << ", path " << m;
        }
    }

    const QImage picture = original->plotView()->renderImage(QSize(640, 480));
    EXPECT_GT(countPathPixels(picture), 1000);
    EXPECT_EQ(reopened->plotView()->renderImage(QSize(640, 480)), picture);
    EXPECT_EQ(reopened->window()->size(), original->window()->size());
    EXPECT_EQ(reopened->plotView()->projection(), kinora::Camera::Projection::orthographic);
}

TEST_F(SessionTest, DamagedOrHostileSessionsAreRefusedWithOneAlertAndNothingChanges) {
    auto original = builtInLorenzWindow();
    const std::string valid =
        KNSessionWriter::json(*KNSessionDocument::capture(*original)).toStdString();
    const std::string script =
        "\"kind\": \"script\", \"fileName\": \"bad.js\", \"text\": \"var parameters = [\"";
    std::string manySeeds = "\"seeds\": [";
    for (int i = 0; i < 1001; ++i) {
        manySeeds += std::string(i ? "," : "") + "[0,0,0]";
    }
    const struct {
        const char* from;
        std::string to;
        const char* complaint;
    } damages[] = {
        {"{", "", "not a complete session file"},
        {"\"version\": 3", "\"version\": 4", "newer Kinora"},
        {"\"timeSeries\": true", "\"timeSeries\": 1", "'timeSeries' must be true or false"},
        {"\"projection\": \"perspective\"", "\"projection\": \"fisheye\"",
         "'parameterView.projection' must be \"perspective\" or \"orthographic\""},
        {"\"evolutions\": 10", "\"evolutions\": \"10\"", "'evolutions' must be a number"},
        {"\"evolutions\": 10", "\"evolutions\": 21", "'evolutions' must be a whole number"},
        {"\"step\": 0.01", "\"step\": 1e999", "illegal number"},
        {"\"step\": 0.01", "\"step\": 1e-9", "the most is 1,000,000"},
        {"\"seeds\": [", manySeeds + ",", "'seeds' must hold 0 to 1000 entries"},
        {"\"axes\": [", "\"axes\": [7,", "'axes' must hold exactly 3"},
        {"\"name\": \"rho\"", "\"name\": \"r\"", "not those of its system"},
        {"\"kind\": \"built-in\",\n        \"name\": \"lorenz\"", script,
         "its script \"bad.js\" fails"},
        {"\"zoom\": 1", "\"zoom\": 1, \"extra\": true",
         "'parameterView.extra' is not a session field"},
        {"\"rotation\": [\n                1", "\"rotation\": [\n                2",
         "'parameterView.eye.rotation' is not a rotation"},
    };
    LXAppDelegate delegate(alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    for (const auto& damage : damages) {
        std::string text = valid;
        replaceOnce(text, damage.from, damage.to);
        const QString path = writeFile(folder, "damaged.kinora", text);
        alerts->clear();
        delegate.createPlotWindowWithURL(QUrl::fromLocalFile(path));
        EXPECT_TRUE(delegate.windowControllers().empty()) << damage.complaint;
        ASSERT_EQ(alerts->messages.size(), 1u) << damage.complaint;
        EXPECT_NE(alerts->messages[0].find(damage.complaint), std::string::npos)
            << alerts->messages[0];
        EXPECT_EQ(alerts->documentNames[0], "damaged.kinora");
    }
    // More points than a window holds: refused before anything is computed.
    std::string crowded = valid;
    replaceOnce(crowded, "\"step\": 0.01", "\"step\": 1e-5");
    replaceOnce(crowded, "\"seeds\": [",
                "\"seeds\": [[0,0,0],[0,0,1],[0,1,0],[1,0,0],[1,1,1],"
                "[2,0,0],[0,2,0],[0,0,2],[2,2,2],[3,3,3],");
    alerts->clear();
    delegate.createPlotWindowWithURL(
        QUrl::fromLocalFile(writeFile(folder, "crowded.kinora", crowded)));
    EXPECT_TRUE(delegate.windowControllers().empty());
    ASSERT_EQ(alerts->messages.size(), 1u);
    EXPECT_NE(alerts->messages[0].find("a window holds at most 100,000,000"), std::string::npos)
        << alerts->messages[0];

    // Truncated anywhere: refused, never read in part.
    for (std::size_t length : {std::size_t{0}, valid.size() / 3, valid.size() - 2}) {
        const QString path = writeFile(folder, "cut.kinora", valid.substr(0, length));
        alerts->clear();
        EXPECT_FALSE(KNDocumentOpener::open(QUrl::fromLocalFile(path), alerts));
        EXPECT_EQ(alerts->messages.size(), 1u);
    }
    EXPECT_TRUE(KNSessionReader::parse(QByteArray::fromStdString(valid)).has_value());

    // Format 1 had no projection and no time-series flag: its cameras open in perspective.
    std::string formatOne = valid;
    replaceOnce(formatOne, "\"version\": 3", "\"version\": 1");
    replaceOnce(formatOne, "\"timeSeries\": true,", "");
    for (int view = 0; view < 2; ++view) {
        replaceOnce(formatOne, "\"projection\": \"perspective\",", "");
    }
    const auto old = KNSessionReader::parse(QByteArray::fromStdString(formatOne));
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->plotCamera.projection, kinora::Camera::Projection::perspective);
    EXPECT_TRUE(old->timeSeriesShown);
    std::string hidden = valid;
    replaceOnce(hidden, "\"timeSeries\": true", "\"timeSeries\": false");
    EXPECT_FALSE(KNSessionReader::parse(QByteArray::fromStdString(hidden))->timeSeriesShown);
}

TEST_F(SessionTest, TrajectoriesExportAsCsvThatReadsBackToTheComputedDoubles) {
    auto controller = builtInLorenzWindow();
    const double sweep[3][2] = {{10.0, 28.0}, {10.0, 10.0 / 3.0}, {8.0 / 3.0, 1.0 / 7.0}};
    for (int i = 0; i < 3; ++i) {
        controller->system().parameter(i).setMin(sweep[i][0]);
        controller->system().parameter(i).setMax(sweep[i][1]);
    }
    controller->addSeed();
    controller->moveSelectedSeed({-3.1, 0.2, 12.5});
    controller->changeIntegrationStep(0.0123);
    controller->changeEvolutions(4);
    KNDocumentActions actions(controller, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    const QString path = folder.filePath("paths.csv");
    ASSERT_TRUE(actions.exportTrajectories(path));
    waitForExport(*controller);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readLine().toStdString(), "seed,evolution,s,rho,sigma,beta,t,x,y,z\n");
    const std::int32_t count = *kinora::trajectoryVertexCount(10.0, 0.0123);
    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    for (std::size_t seed = 0; seed < seeds.size(); ++seed) {
        for (int m = 0; m < 4; ++m) {
            KinoraSystem system = controller->system();
            kinora::RK4Integrator integrator(0.0123);
            system.integrator = &integrator;
            const double s = m / 3.0;
            kinora::setParametersAtSweepFraction(system, s);
            kinora::Vector3 state = seeds[seed]->transform.position;
            for (std::int32_t i = 0; i < count; ++i) {
                state = system.advance(0.01 * i, state);
                const QList<QByteArray> fields = file.readLine().trimmed().split(',');
                ASSERT_EQ(fields.size(), 10);
                const double expected[] = {static_cast<double>(seed),
                                           static_cast<double>(m),
                                           s,
                                           system.parameters[0].value(),
                                           system.parameters[1].value(),
                                           system.parameters[2].value(),
                                           (i + 1) * 0.0123,
                                           state.x,
                                           state.y,
                                           state.z};
                for (int k = 0; k < 10; ++k) {
                    ASSERT_EQ(std::strtod(fields[k].constData(), nullptr), expected[k])
                        << "seed " << seed << ", evolution " << m << ", row " << i << ", column "
                        << k;
                }
            }
        }
    }
    EXPECT_TRUE(file.atEnd());
}

TEST_F(SessionTest, AnInterruptedSaveLeavesTheEarlierFileIntact) {
    auto controller = builtInLorenzWindow();
    const KNSession session = *KNSessionDocument::capture(*controller);
    const QString path = writeFile(folder, "kept.kinora", "the earlier session");

    // Files may not grow past 64 bytes for a moment: the write stops part way, as on a full disk.
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = original;
    limit.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    KNError error;
    const bool saved = KNSessionWriter::writeFile(path.toStdString(), session, &error);
    setrlimit(RLIMIT_FSIZE, &original);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_NE(error.failureReason.find("Any earlier file is unchanged"), std::string::npos)
        << error.failureReason;
    EXPECT_EQ(readAll(path), "the earlier session");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.kinora"});

    ASSERT_TRUE(KNSessionWriter::writeFile(path.toStdString(), session));
    EXPECT_TRUE(KNSessionReader::readFile(path.toStdString()).has_value());
}

TEST_F(SessionTest, HeadlessExportsNeedNoDisplayAndFailCleanly) {
    auto original = exploredWindow();
    const QString session = savedSession(*original);
    const KNViewCamera camera = original->plotView()->viewCamera();
    const QImage expected = original->plotView()->renderImage(QSize(camera.width, camera.height));

    const auto run = [this](const QStringList& arguments, QByteArray* errors = nullptr) {
        QProcess kinora;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("XDG_DATA_HOME", folder.filePath("data"));
        kinora.setProcessEnvironment(environment);
        kinora.start(KINORA_EXECUTABLE, arguments);
        EXPECT_TRUE(kinora.waitForFinished(60000));
        if (errors) {
            *errors = kinora.readAllStandardError();
        }
        return kinora.exitCode();
    };

    const QString data = folder.filePath("explored.csv");
    ASSERT_EQ(run({"--export-data", data, session}), 0);
    KNDocumentActions actions(original, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    ASSERT_TRUE(actions.exportTrajectories(folder.filePath("inside.csv")));
    waitForExport(*original);
    EXPECT_EQ(readAll(data), readAll(folder.filePath("inside.csv")));

    const QString picture = folder.filePath("explored.png");
    EXPECT_EQ(run({"--export-image", picture, session}), 0);
    EXPECT_EQ(QImage(picture).convertToFormat(expected.format()), expected);

    EXPECT_EQ(run({"--export-image", picture, "--size", "320x200",
                   KINORA_SOURCE_DIR "/examples/lorenz.js"}),
              0);
    EXPECT_EQ(QImage(picture).size(), QSize(320, 200));

    QByteArray errors;
    EXPECT_EQ(run({"--export-image", picture, folder.filePath("missing.kinora")}, &errors), 1);
    EXPECT_TRUE(errors.contains("missing.kinora: Cannot open the session")) << errors.toStdString();
    const QString broken = writeFile(folder, "broken.kinora", "{\"format\": ");
    EXPECT_EQ(run({"--export-image", picture, broken}, &errors), 1);
    EXPECT_TRUE(errors.contains("not a complete session file")) << errors.toStdString();
    EXPECT_EQ(run({"--export-image", picture, "--size", "wide", session}, &errors), 2);
    EXPECT_TRUE(errors.contains("--size needs WIDTHxHEIGHT")) << errors.toStdString();
    EXPECT_EQ(run({"--export-image", folder.filePath("no/such/folder.png"), session}, &errors), 1);
    EXPECT_TRUE(errors.contains("Cannot export the image")) << errors.toStdString();
}

} // namespace
