#include "ControllerTest.h"
#include "KNAnalysisPanels.h"
#include "KNDocumentActions.h"
#include "KNDocumentOpener.h"
#include "KNFindingsControls.h"
#include "KNFindingsPanel.h"
#include "KNParameterField.h"
#include "KNParameterSpaceView.h"
#include "KNParameterTableView.h"
#include "KNPlotWindow.h"
#include "KNScriptFile.h"
#include "KNSessionDocument.h"
#include "KNSessionReader.h"
#include "KNSessionWriter.h"
#include "LXAppDelegate.h"
#include "MessageText.h"
#include "RK4Integrator.h"
#include "SeedNumber.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTableWidget>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

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
        EXPECT_TRUE(settle(*controller));
        const double sweep[3][2] = {{10.0, 28.0}, {10.0 / 3.0, 10.0}, {8.0 / 3.0, 8.0 / 3.0}};
        for (int i = 0; i < 3; ++i) {
            KNParameterTableView* row = parameterRow(controller->sliderTableView(), i);
            row->minField()->enterDoubleValue(sweep[i][0]);
            row->maxField()->enterDoubleValue(sweep[i][1]);
        }
        for (const kinora::Vector3& position :
             {kinora::Vector3(-3.1, 2.0 / 7.0, 12.5), kinora::Vector3(0.1, 0.2, 0.3)}) {
            controller->addSeed();
            controller->moveSelectedSeed(position);
        }
        // A selection is not part of a session. Escape deselects once nothing is computing
        // (before, it stops the computation).
        EXPECT_TRUE(eventually([&] { return !controller->isRecomputing(); }));
        controller->cancelOperation();
        EXPECT_EQ(controller->plotView()->selectedSeed(), nullptr);
        controller->changeIntegrationStep(0.0123);
        controller->changeEvolutions(7);
        controller->changeTransient(2.5);
        KNViewCamera camera = controller->plotView()->viewCamera();
        camera.sceneTransform.rotate(33.0f, kinora::yAxis);
        camera.sceneTransform.rotate(-21.0f, kinora::xAxis);
        camera.sceneTransform.scale = kinora::Vector3(0.07, 0.07, 0.07);
        camera.projection = kinora::Camera::Projection::orthographic;
        controller->plotView()->setViewCamera(camera);
        controller->plotView()->redraw();
        EXPECT_TRUE(settle(*controller));
        return controller;
    }

    QString savedSession(KNPlotWindowController& controller) {
        const QString path = folder.filePath("explored.kinora");
        KNError error;
        const auto session = KNDocumentActions::sessionOf(controller, &error);
        EXPECT_TRUE(session && KNSessionWriter::writeFile(path.toStdString(), *session, &error))
            << error.failureReason;
        return path;
    }

    int runHeadless(const QStringList& arguments, QByteArray* errors = nullptr,
                    QByteArray* output = nullptr) {
        return ::runHeadless(folder.filePath("data"), arguments, errors, output);
    }
};

TEST_F(SessionTest, ASavedWindowReopensWithTheSameTrajectoriesAndPicture) {
    auto original = exploredWindow();
    KNDocumentActions actions(original, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    const QString path = folder.filePath("explored.kinora");
    ASSERT_TRUE(actions.saveSession(path)) << alerts->messages.front();

    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::open(QUrl::fromLocalFile(path), *alerts);
    ASSERT_TRUE(document);
    auto reopened = KNPlotWindowController::initWithDocument(std::move(*document), alerts);
    reopened->showWindow();
    ASSERT_TRUE(settle(*reopened));
    EXPECT_TRUE(alerts->messages.empty());
    EXPECT_EQ(reopened->title(), std::optional<std::string>("lorenz.js"));
    EXPECT_EQ(reopened->evolutionCount(), 7);
    EXPECT_EQ(reopened->exploration().transient(), 2.5);
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

// The panels shown and the paths' colouring come back; a window as new writes neither field.
TEST_F(SessionTest, ThePanelShownAndThePathColouringComeBack) {
    auto original = builtInLorenzWindow();
    const std::string plain =
        KNSessionWriter::json(*KNDocumentActions::sessionOf(*original)).toStdString();
    EXPECT_EQ(plain.find("panels"), std::string::npos);
    EXPECT_EQ(plain.find("pathColours"), std::string::npos);

    original->findings()->setPanelShown(true);
    original->findings()->setPathColouring(KNPlotView::PathColouring::byExponent);
    original->window()->setTimeSeriesShown(false);
    const QString path = savedSession(*original);
    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::open(QUrl::fromLocalFile(path), *alerts);
    ASSERT_TRUE(document);
    auto reopened = KNPlotWindowController::initWithDocument(std::move(*document), alerts);
    EXPECT_TRUE(reopened->findings()->isPanelShown());
    EXPECT_EQ(reopened->findings()->pathColouring(), KNPlotView::PathColouring::byExponent);
    EXPECT_EQ(reopened->plotView()->pathColouring(), KNPlotView::PathColouring::byExponent);
    EXPECT_FALSE(reopened->window()->timeSeriesShown());
}

TEST_F(SessionTest, AWindowSavedLargerThanTheScreenOpensWithinIt) {
    KNSession session = *KNDocumentActions::sessionOf(*builtInLorenzWindow());
    session.windowWidth = session.windowHeight = KNSessionReader::maxWindowSide;
    session.plotCamera.width = session.plotCamera.height = KNSessionReader::maxWindowSide;
    const QString path = folder.filePath("huge.kinora");
    ASSERT_TRUE(KNSessionWriter::writeFile(path.toStdString(), session));
    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::open(QUrl::fromLocalFile(path), *alerts);
    ASSERT_TRUE(document);
    auto controller = KNPlotWindowController::initWithDocument(std::move(*document), alerts);
    controller->showWindow();
    ASSERT_TRUE(settle(*controller));
    const QSize screen = controller->window()->screen()->availableGeometry().size();
    EXPECT_TRUE(screen.expandedTo(controller->window()->size()) == screen)
        << controller->window()->width() << " x " << controller->window()->height();
    EXPECT_TRUE(screen.expandedTo(controller->plotView()->size()) == screen);
}

TEST_F(SessionTest, ManySeedsOpenInOneRecomputationThatBeginsOnceTheWindowIsThere) {
    KNSession session;
    session.system = {KNSystemSource::Kind::builtIn, "lorenz", {}};
    session.parameters = {{"rho", 10.0, 28.0}, {"sigma", 10.0, 10.0}, {"beta", 2.0, 3.0}};
    session.axisToParameterMapping = {0, 1, 2};
    for (int k = 0; k < 200; ++k) {
        session.seeds.push_back({0.01 * k, 1.0, 1.0});
    }
    std::unique_ptr<kinora::Exploration> exploration =
        KNSessionDocument::open(session, "many.kinora", *alerts);
    ASSERT_TRUE(exploration);
    auto controller = KNPlotWindowController::initWithExploration(std::move(exploration), alerts);
    const std::vector<Seed*> seeds = seedsOf(controller->plotView());
    ASSERT_EQ(seeds.size(), 200u);
    // Loading the window computed nothing: every path waits for the event loop.
    EXPECT_TRUE(controller->isRecomputing());
    EXPECT_TRUE(pathsOf(controller->plotView(), seeds.back())[0].isBlank());
    waitForRecomputation(*controller);
    for (Seed* seed : {seeds.front(), seeds.back()}) {
        EXPECT_EQ(pathsOf(controller->plotView(), seed)[9].vertices.size(), 1000u);
    }
    EXPECT_EQ(controller->lastOutcome().pathCount, 2000);
}

TEST_F(SessionTest, DamagedOrHostileSessionsAreRefusedWithOneAlertAndNothingChanges) {
    auto original = builtInLorenzWindow();
    const std::string valid =
        KNSessionWriter::json(*KNDocumentActions::sessionOf(*original)).toStdString();
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
        {"\"kinora-session\"", "\"something-else\"", "it is not a Kinora session"},
        {"\"version\": 3", "\"version\": 4", "newer Kinora"},
        {"\"version\": 3", "\"versions\": 3", "'version' is missing"},
        {"\"transient\": 0", "\"transient\": 10",
         "its transient of 10 is not shorter than the duration of 10"},
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
        {"\"duration\": ", "\"pathColours\": \"rainbow\", \"duration\": ",
         "'pathColours' must be \"s\" or \"exponent\""},
        {"\"duration\": ", "\"panels\": {\"findings\": 1}, \"duration\": ",
         "'panels.findings' must be true or false"},
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

    // However many and long the names, the message quotes a bounded part of each and of all.
    std::string longNames = valid;
    std::string names;
    for (int i = 0; i < 300; ++i) {
        std::string name;
        for (int c = 0; c < 5000; ++c) {
            name += "\u00e9";
        }
        names += "{\"name\": \"" + name + "\", \"start\": 0, \"end\": 0},";
    }
    replaceOnce(longNames, "\"parameters\": [", "\"parameters\": [" + names);
    alerts->clear();
    delegate.createPlotWindowWithURL(
        QUrl::fromLocalFile(writeFile(folder, "names.kinora", longNames)));
    ASSERT_EQ(alerts->messages.size(), 1u);
    const std::string& refusal = alerts->messages[0];
    EXPECT_NE(refusal.find("not those of its system"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("\u00e9\u2026"), std::string::npos) << refusal;
    EXPECT_LT(refusal.size(), 2 * kinora::maxMessageCharacters);

    // Truncated anywhere: refused, never read in part.
    for (std::size_t length : {std::size_t{0}, valid.size() / 3, valid.size() - 2}) {
        const QString path = writeFile(folder, "cut.kinora", valid.substr(0, length));
        alerts->clear();
        EXPECT_FALSE(KNDocumentOpener::open(QUrl::fromLocalFile(path), *alerts));
        EXPECT_EQ(alerts->messages.size(), 1u);
    }
    EXPECT_TRUE(KNSessionReader::parse(QByteArray::fromStdString(valid)).has_value());

    // Too many parameters are refused from the file's outline, before it is parsed: a parse of
    // this text, cut short after its version, would call it incomplete instead.
    std::string manyParameters = valid;
    std::string parameters;
    // 1,001 with the system's three.
    for (int i = 0; i < 998; ++i) {
        parameters += "{\"name\": \"p\", \"start\": 0, \"end\": 1},";
    }
    replaceOnce(manyParameters, "\"parameters\": [", "\"parameters\": [" + parameters);
    manyParameters.resize(manyParameters.find("\"version\": 3") + 12);
    KNError outlineError;
    EXPECT_FALSE(KNSessionReader::parse(QByteArray::fromStdString(manyParameters), &outlineError));
    EXPECT_EQ(outlineError.failureReason, "'parameters' must hold 0 to 1000 entries, not 1001.");

    // Nothing is saved that would be too large to open again.
    KNSession oversized = *KNDocumentActions::sessionOf(*original);
    oversized.parameters[0].name.assign(KNSessionReader::maxFileBytes, 'n');
    KNError saveError;
    EXPECT_FALSE(KNSessionWriter::writeFile(folder.filePath("big.kinora").toStdString(), oversized,
                                            &saveError));
    EXPECT_NE(saveError.failureReason.find("would not open again, because the file is larger"),
              std::string::npos)
        << saveError.failureReason;
    EXPECT_FALSE(QFile::exists(folder.filePath("big.kinora")));

    // Format 1 had no projection: its cameras open in perspective.
    std::string formatOne = valid;
    replaceOnce(formatOne, "\"version\": 3", "\"version\": 1");
    for (int view = 0; view < 2; ++view) {
        replaceOnce(formatOne, "\"projection\": \"perspective\",", "");
    }
    const auto old = KNSessionReader::parse(QByteArray::fromStdString(formatOne));
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->plotCamera.projection, kinora::Camera::Projection::perspective);
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
                // Seeds are numbered from 1, as the status bar numbers them.
                const double expected[] = {static_cast<double>(kinora::seedNumber(seed)),
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
    const KNSession session = *KNDocumentActions::sessionOf(*controller);
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
        return runHeadless(arguments, errors);
    };

    const QString data = folder.filePath("explored.csv");
    QByteArray quiet;
    ASSERT_EQ(run({"--export-data", data, session}, &quiet), 0);
    EXPECT_EQ(quiet.toStdString(), "");
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

// A session's picture shows what its window shows over the paths: the colours by exponent, the
// equilibria's markers and the section plane with its dots.
TEST_F(SessionTest, AHeadlessImageShowsTheAnalysisTheSessionsWindowShows) {
    // Long enough for exponents, regular at the sweep's start and chaotic at its end.
    auto window = builtInLorenzWindow();
    window->changeParameterSweep(0, 10.0, 28.0);
    window->changeEvolutions(4);
    window->changePathDuration(120.0);
    window->changeIntegrationStep(0.02);
    window->showWindow();
    window->findings()->setPanelShown(true);
    window->findings()->setPathColouring(KNPlotView::PathColouring::byExponent);
    kinora::AnalysisPanelSettings analysis;
    analysis.section = {2, 20.0, kinora::CrossingDirection::increasing};
    analysis.sectionShown = true;
    ASSERT_FALSE(window->analysisPanels()->apply(analysis));
    ASSERT_TRUE(settle(*window));
    QTableWidget* exponents = window->findings()->panel()->exponentTable();
    ASSERT_TRUE(eventually([&] { return exponents->rowCount() > 0; }));
    const KNViewCamera camera = window->plotView()->viewCamera();
    const QImage expected = window->plotView()->renderImage(QSize(camera.width, camera.height));

    const QString session = savedSession(*window);
    const QString exported = folder.filePath("analysed.png");
    QByteArray errors;
    ASSERT_EQ(runHeadless({"--export-image", exported, session}, &errors), 0)
        << errors.toStdString();
    EXPECT_EQ(QImage(exported).convertToFormat(expected.format()), expected);

    // The same session without the analysis draws the paths alone.
    QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(readAll(session))).object();
    for (const char* field : {"panels", "pathColours", "analysis"}) {
        ASSERT_TRUE(root.contains(QLatin1String(field))) << field;
        root.remove(QLatin1String(field));
    }
    const QString plainSession =
        writeFile(folder, "plain.kinora", QJsonDocument(root).toJson().toStdString());
    const QString plain = folder.filePath("plain.png");
    ASSERT_EQ(runHeadless({"--export-image", plain, plainSession}, &errors), 0)
        << errors.toStdString();
    EXPECT_NE(QImage(plain), QImage(exported));
}

TEST_F(SessionTest, ExportsNeverDestroyTheirInputOrReplaceAPipe) {
    auto window = exploredWindow();
    const QString session = savedSession(*window);
    const std::string sessionText = readAll(session);
    const QString data = folder.filePath("explored.csv");
    ASSERT_EQ(runHeadless({"--export-data", data, session}), 0);

    // The same file under another name is still the input.
    const QString alias = folder.filePath("alias.kinora");
    ASSERT_TRUE(QFile::link(session, alias));
    QByteArray errors;
    EXPECT_EQ(runHeadless({"--export-data", alias, session}, &errors), 2);
    EXPECT_TRUE(errors.contains("is the file to export from")) << errors.toStdString();
    EXPECT_EQ(runHeadless({"--export-image", session, session}), 2);
    EXPECT_EQ(readAll(session), sessionText);

    // A pipe is written through, and stays a pipe.
    const QString pipe = folder.filePath("pipe.csv");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = readAll(pipe); });
    EXPECT_EQ(runHeadless({"--export-data", pipe, session}), 0);
    reader.join();
    struct stat status {};
    ASSERT_EQ(stat(pipe.toLocal8Bit().constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(piped, readAll(data));

    // "-" is standard output, holding the data alone.
    QByteArray output;
    EXPECT_EQ(runHeadless({"--export-data", "-", session}, &errors, &output), 0);
    EXPECT_EQ(output.toStdString(), readAll(data));
    EXPECT_EQ(errors.toStdString(), "");

    // The window refuses its own file, and a pipe it would have to wait on.
    window->setDocumentPath(session.toStdString());
    KNDocumentActions actions(window, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    EXPECT_FALSE(actions.exportTrajectories(alias));
    EXPECT_FALSE(actions.exportImage(session, 1));
    EXPECT_FALSE(actions.exportTrajectories(pipe));
    ASSERT_EQ(alerts->messages.size(), 3u);
    EXPECT_NE(alerts->messages[0].find("the file this window was opened from"), std::string::npos)
        << alerts->messages[0];
    EXPECT_NE(alerts->messages[2].find("not a regular file"), std::string::npos)
        << alerts->messages[2];
    EXPECT_EQ(readAll(session), sessionText);
}

TEST_F(SessionTest, AScriptThatFailsOnItsPathsExportsNothing) {
    const QString script = writeFile(folder, "throws.js",
                                     "var parameters = ['a'];\n"
                                     "function evolution(p, x, y, z) {\n"
                                     "    if (x > 1.5) throw new Error('too far');\n"
                                     "    return [1, 0, 0];\n"
                                     "}\n");
    const QString data = folder.filePath("throws.csv");
    QByteArray errors;
    EXPECT_EQ(runHeadless({"--export-data", data, script}, &errors), 1);
    EXPECT_TRUE(errors.contains("too far")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(data));

    std::optional<KNOpenedDocument> document =
        KNDocumentOpener::open(QUrl::fromLocalFile(script), *alerts);
    ASSERT_TRUE(document);
    auto window = KNPlotWindowController::initWithDocument(std::move(*document), alerts);
    KNDocumentActions actions(window, alerts, KNRecentDocuments("kinora_app_tests", "true %u"));
    ASSERT_TRUE(actions.exportTrajectories(data));
    waitForExport(*window);
    ASSERT_TRUE(eventually([&] { return !alerts->messages.empty(); }));
    ASSERT_EQ(alerts->messages.size(), 1u);
    EXPECT_NE(alerts->messages[0].find("too far"), std::string::npos) << alerts->messages[0];
    EXPECT_FALSE(QFile::exists(data));
}

TEST_F(SessionTest, ArgumentMistakesAndAMissingDisplayAreSaidWithoutAnAbort) {
    const QString script = KINORA_SOURCE_DIR "/examples/lorenz.js";
    QByteArray errors;
    EXPECT_EQ(runHeadless({"--bogus"}, &errors), 2);
    EXPECT_TRUE(errors.contains("unknown option '--bogus'")) << errors.toStdString();
    EXPECT_EQ(runHeadless({"--size", "100x100", script}, &errors), 2);
    EXPECT_TRUE(errors.contains("--size applies to --export-image and --export-frames only"))
        << errors.toStdString();
    EXPECT_EQ(runHeadless({script}, &errors), 1);
    EXPECT_EQ(errors.toStdString(), "Kinora needs a graphical display; for pictures and data "
                                    "without one, see `kinora --help`\n");
}

} // namespace
