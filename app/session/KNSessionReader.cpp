#include "KNSessionReader.h"

#include "Exploration.h"
#include "KNJsonOutline.h"
#include "KNScriptFile.h"
#include "MessageText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QStringList>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace {

constexpr const char* errorDomain = "KNSessionErrorDomain";

// A field that cannot be used; its message names the field.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string quoted(const std::string& text) {
    return "'" + kinora::boundedValue(text) + "'";
}

std::string child(const std::string& path, const char* key) {
    return path.empty() ? std::string(key) : path + "." + key;
}

std::string element(const std::string& path, qsizetype index) {
    return path + "[" + std::to_string(index) + "]";
}

// Only the named keys, each present, and the optional ones.
void expectKeys(const QJsonObject& object, const std::string& path,
                std::initializer_list<const char*> keys,
                std::initializer_list<const char*> optional = {}) {
    for (const char* key : keys) {
        if (!object.contains(QLatin1String(key))) {
            throw Refusal(quoted(child(path, key)) + " is missing.");
        }
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = false;
        for (const auto& names : {keys, optional}) {
            for (const char* key : names) {
                known = known || it.key() == QLatin1String(key);
            }
        }
        if (!known) {
            throw Refusal(quoted(child(path, it.key().toUtf8().constData())) +
                          " is not a session field.");
        }
    }
}

QJsonObject objectAt(const QJsonValue& value, const std::string& path) {
    if (!value.isObject()) {
        throw Refusal(quoted(path) + " must be an object.");
    }
    return value.toObject();
}

std::string sizeRefusal(const std::string& path, qsizetype minSize, qsizetype maxSize,
                        qsizetype size) {
    return quoted(path) +
           (minSize == maxSize
                ? " must hold exactly " + std::to_string(minSize) + " entries."
                : " must hold " + std::to_string(minSize) + " to " + std::to_string(maxSize) +
                      " entries, not " + std::to_string(size) + ".");
}

QJsonArray arrayAt(const QJsonValue& value, const std::string& path, qsizetype minSize,
                   qsizetype maxSize) {
    if (!value.isArray()) {
        throw Refusal(quoted(path) + " must be an array.");
    }
    const QJsonArray array = value.toArray();
    if (array.size() < minSize || array.size() > maxSize) {
        throw Refusal(sizeRefusal(path, minSize, maxSize, array.size()));
    }
    return array;
}

// The refusal a session of this format gives for arrays too long, found from the text's outline
// alone: a file of a million parameters is refused before it is parsed. Nothing when the outline
// does not show a session of a format this reader knows; the parse then says what is wrong.
std::optional<std::string> outlineRefusal(const QByteArray& bytes) {
    const KNJsonOutline outline(bytes);
    const std::optional<std::string> version = outline.scalar("version");
    const double number = version ? std::strtod(version->c_str(), nullptr) : 0.0;
    if (outline.scalar("format") != "\"kinora-session\"" || !(number >= 1.0) ||
        number > KNSession::formatVersion || number != std::trunc(number)) {
        return std::nullopt;
    }
    for (const auto& [key, limit] : {std::pair{"parameters", KNSessionReader::maxParameters},
                                     std::pair{"seeds", KNSessionReader::maxSeeds}}) {
        const std::optional<std::size_t> size = outline.arraySize(key);
        if (size && *size > limit) {
            return sizeRefusal(key, 0, static_cast<qsizetype>(limit),
                               static_cast<qsizetype>(*size));
        }
    }
    return std::nullopt;
}

std::string stringAt(const QJsonValue& value, const std::string& path) {
    if (!value.isString()) {
        throw Refusal(quoted(path) + " must be a string.");
    }
    const QByteArray utf8 = value.toString().toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

double numberAt(const QJsonValue& value, const std::string& path) {
    if (!value.isDouble()) {
        throw Refusal(quoted(path) + " must be a number.");
    }
    const double number = value.toDouble();
    if (!std::isfinite(number)) {
        throw Refusal(quoted(path) + " must be a finite number.");
    }
    return number;
}

// A number that a float holds without becoming infinite.
float floatAt(const QJsonValue& value, const std::string& path) {
    const double number = numberAt(value, path);
    if (std::fabs(number) > static_cast<double>(FLT_MAX)) {
        throw Refusal(quoted(path) + " is too large.");
    }
    return static_cast<float>(number);
}

std::int64_t integerAt(const QJsonValue& value, const std::string& path, std::int64_t min,
                       std::int64_t max) {
    const double number = numberAt(value, path);
    if (number != std::trunc(number) || number < static_cast<double>(min) ||
        number > static_cast<double>(max)) {
        throw Refusal(quoted(path) + " must be a whole number from " + std::to_string(min) +
                      " to " + std::to_string(max) + ".");
    }
    return static_cast<std::int64_t>(number);
}

double positiveAt(const QJsonValue& value, const std::string& path) {
    const double number = numberAt(value, path);
    if (!(number > 0.0)) {
        throw Refusal(quoted(path) + " must be greater than 0.");
    }
    return number;
}

kinora::Vector3 vectorAt(const QJsonValue& value, const std::string& path) {
    const QJsonArray array = arrayAt(value, path, 3, 3);
    return {numberAt(array[0], element(path, 0)), numberAt(array[1], element(path, 1)),
            numberAt(array[2], element(path, 2))};
}

// Column-major, as the matrix keeps it; only rotations are accepted, since the views invert a
// rotation by transposing it.
kinora::Matrix4 rotationAt(const QJsonValue& value, const std::string& path) {
    const QJsonArray array = arrayAt(value, path, 16, 16);
    kinora::Matrix4 rotation;
    for (qsizetype i = 0; i < 16; ++i) {
        rotation.m[i] = floatAt(array[i], element(path, i));
    }
    constexpr double tolerance = 1e-4;
    for (int column = 0; column < 3; ++column) {
        if (rotation.m[column * 4 + 3] != 0.0f || rotation.m[12 + column] != 0.0f) {
            throw Refusal(quoted(path) + " is not a rotation.");
        }
        for (int other = 0; other < 3; ++other) {
            double dot = 0.0;
            for (int row = 0; row < 3; ++row) {
                dot += static_cast<double>(rotation.m[column * 4 + row]) *
                       static_cast<double>(rotation.m[other * 4 + row]);
            }
            if (std::fabs(dot - (column == other ? 1.0 : 0.0)) > tolerance) {
                throw Refusal(quoted(path) + " is not a rotation.");
            }
        }
    }
    if (rotation.m[15] != 1.0f) {
        throw Refusal(quoted(path) + " is not a rotation.");
    }
    return rotation;
}

kinora::Transform sceneTransformAt(const QJsonValue& value, const std::string& path) {
    const QJsonObject object = objectAt(value, path);
    expectKeys(object, path, {"rotation", "scale", "position", "pivot"});
    kinora::Transform transform;
    transform.rotation = rotationAt(object["rotation"], child(path, "rotation"));
    transform.scale = vectorAt(object["scale"], child(path, "scale"));
    for (double component : {transform.scale.x, transform.scale.y, transform.scale.z}) {
        if (component < KNViewCamera::minimumSceneScale ||
            component > KNViewCamera::maximumSceneScale) {
            throw Refusal(quoted(child(path, "scale")) + " must lie between " +
                          std::to_string(KNViewCamera::minimumSceneScale) + " and " +
                          std::to_string(KNViewCamera::maximumSceneScale) + ".");
        }
    }
    transform.position = vectorAt(object["position"], child(path, "position"));
    transform.pivot = vectorAt(object["pivot"], child(path, "pivot"));
    return transform;
}

int axisAt(const QJsonValue& value, const std::string& path) {
    const std::string name = stringAt(value, path);
    for (int axis = 0; axis < 3; ++axis) {
        if (name == kinora::axisName(axis)) {
            return axis;
        }
    }
    throw Refusal(quoted(path) + " must be \"x\", \"y\" or \"z\".");
}

bool booleanAt(const QJsonValue& value, const std::string& path) {
    if (!value.isBool()) {
        throw Refusal(quoted(path) + " must be true or false.");
    }
    return value.toBool();
}

// The section plane and the orbit diagram's settings. Whether the window's step can serve the
// diagram is the panel's to say, since the step may change.
kinora::AnalysisPanelSettings analysisAt(const QJsonValue& value, const std::string& path) {
    const QJsonObject object = objectAt(value, path);
    expectKeys(object, path, {"section", "orbitDiagram"});
    kinora::AnalysisPanelSettings analysis;
    const std::string sectionPath = child(path, "section");
    const QJsonObject section = objectAt(object["section"], sectionPath);
    expectKeys(section, sectionPath, {"axis", "value", "direction", "shown"});
    analysis.section.axis = axisAt(section["axis"], child(sectionPath, "axis"));
    analysis.section.value = numberAt(section["value"], child(sectionPath, "value"));
    const std::string direction = stringAt(section["direction"], child(sectionPath, "direction"));
    const auto named = kinora::directionNamed(direction);
    if (!named) {
        throw Refusal(quoted(child(sectionPath, "direction")) +
                      " must be \"up\", \"down\" or \"both\".");
    }
    analysis.section.direction = *named;
    analysis.sectionShown = booleanAt(section["shown"], child(sectionPath, "shown"));

    const std::string orbitPath = child(path, "orbitDiagram");
    const QJsonObject orbit = objectAt(object["orbitDiagram"], orbitPath);
    expectKeys(orbit, orbitPath,
               {"values", "seed", "transient", "recorded", "plot", "variable", "shown"});
    kinora::OrbitPanelSettings& settings = analysis.orbit;
    settings.resolution = static_cast<std::int32_t>(
        integerAt(orbit["values"], child(orbitPath, "values"), kinora::minimumOrbitResolution,
                  kinora::maximumOrbitResolution));
    settings.seed = vectorAt(orbit["seed"], child(orbitPath, "seed"));
    settings.transientTime = numberAt(orbit["transient"], child(orbitPath, "transient"));
    settings.recordedTime = numberAt(orbit["recorded"], child(orbitPath, "recorded"));
    const std::string plot = stringAt(orbit["plot"], child(orbitPath, "plot"));
    if (plot != "maxima" && plot != "crossings") {
        throw Refusal(quoted(child(orbitPath, "plot")) + " must be \"maxima\" or \"crossings\".");
    }
    settings.quantity = plot == "maxima" ? kinora::OrbitQuantity::localMaxima
                                         : kinora::OrbitQuantity::sectionCrossings;
    settings.variable = axisAt(orbit["variable"], child(orbitPath, "variable"));
    analysis.orbitDiagramShown = booleanAt(orbit["shown"], child(orbitPath, "shown"));
    if (const auto refusal = kinora::orbitSettingsRefusal(settings, analysis.section)) {
        throw Refusal(quoted(orbitPath) + " cannot be used: " + *refusal);
    }
    return analysis;
}

KNViewCamera viewCameraAt(const QJsonValue& value, const std::string& path, std::int64_t version) {
    const QJsonObject object = objectAt(value, path);
    if (version < 2) {
        expectKeys(object, path, {"size", "scene", "eye", "zoom"});
    } else {
        expectKeys(object, path, {"size", "scene", "eye", "zoom", "projection"});
    }
    KNViewCamera camera;
    const QJsonArray size = arrayAt(object["size"], child(path, "size"), 2, 2);
    camera.width = static_cast<int>(
        integerAt(size[0], element(child(path, "size"), 0), 1, KNSessionReader::maxWindowSide));
    camera.height = static_cast<int>(
        integerAt(size[1], element(child(path, "size"), 1), 1, KNSessionReader::maxWindowSide));
    camera.sceneTransform = sceneTransformAt(object["scene"], child(path, "scene"));

    const std::string eyePath = child(path, "eye");
    const QJsonObject eye = objectAt(object["eye"], eyePath);
    expectKeys(eye, eyePath, {"rotation", "position"});
    camera.eye.rotation = rotationAt(eye["rotation"], child(eyePath, "rotation"));
    camera.eye.position = vectorAt(eye["position"], child(eyePath, "position"));

    camera.zoom = floatAt(object["zoom"], child(path, "zoom"));
    if (!(camera.zoom > 0.0f)) {
        throw Refusal(quoted(child(path, "zoom")) + " must be greater than 0.");
    }
    if (version >= 2) {
        const std::string projection = stringAt(object["projection"], child(path, "projection"));
        if (projection == "orthographic") {
            camera.projection = kinora::Camera::Projection::orthographic;
        } else if (projection != "perspective") {
            throw Refusal(quoted(child(path, "projection")) +
                          " must be \"perspective\" or \"orthographic\".");
        }
    }
    return camera;
}

KNSystemSource systemAt(const QJsonValue& value) {
    const QJsonObject object = objectAt(value, "system");
    KNSystemSource source;
    const std::string kind = stringAt(
        object.contains(QLatin1String("kind")) ? object["kind"] : QJsonValue(), "system.kind");
    if (kind == "built-in") {
        expectKeys(object, "system", {"kind", "name"});
        source.kind = KNSystemSource::Kind::builtIn;
        source.name = stringAt(object["name"], "system.name");
    } else if (kind == "script") {
        expectKeys(object, "system", {"kind", "fileName", "text"});
        source.kind = KNSystemSource::Kind::script;
        source.name = stringAt(object["fileName"], "system.fileName");
        source.scriptText = stringAt(object["text"], "system.text");
        if (source.scriptText.size() > maxScriptFileBytes) {
            throw Refusal("'system.text' is larger than a system script may be.");
        }
    } else {
        throw Refusal("'system.kind' must be \"built-in\" or \"script\".");
    }
    return source;
}

KNSession sessionAt(const QJsonObject& root) {
    // Before anything else: a JSON file of another kind has none of the fields asked for below.
    if (root["format"] != QJsonValue(QStringLiteral("kinora-session"))) {
        throw Refusal("it is not a Kinora session (its 'format' is not \"kinora-session\").");
    }
    if (!root.contains(QLatin1String("version"))) {
        throw Refusal("'version' is missing.");
    }
    const std::int64_t version = integerAt(root["version"], "version", 1, INT32_MAX);
    if (version > KNSession::formatVersion) {
        throw Refusal("it was written by a newer Kinora (session format " +
                      std::to_string(version) + "); this one reads format " +
                      std::to_string(KNSession::formatVersion) + ".");
    }
    expectKeys(root, "",
               {"format", "version", "system", "parameters", "axes", "seeds", "evolutions", "step",
                "duration", "window", "plotView", "parameterView"},
               {"transient", "panels", "pathColours", "analysis"});

    KNSession session;
    session.system = systemAt(root["system"]);

    const QJsonArray parameters = arrayAt(root["parameters"], "parameters", 0,
                                          static_cast<qsizetype>(KNSessionReader::maxParameters));
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const std::string path = element("parameters", i);
        const QJsonObject object = objectAt(parameters[i], path);
        expectKeys(object, path, {"name", "start", "end"});
        session.parameters.push_back({stringAt(object["name"], child(path, "name")),
                                      numberAt(object["start"], child(path, "start")),
                                      numberAt(object["end"], child(path, "end"))});
    }

    const QJsonArray axes = arrayAt(root["axes"], "axes", 3, 3);
    for (qsizetype axis = 0; axis < 3; ++axis) {
        session.axisToParameterMapping[static_cast<std::size_t>(axis)] = static_cast<std::int32_t>(
            integerAt(axes[axis], element("axes", axis), -1, parameters.size() - 1));
    }

    const QJsonArray seeds =
        arrayAt(root["seeds"], "seeds", 0, static_cast<qsizetype>(KNSessionReader::maxSeeds));
    for (qsizetype i = 0; i < seeds.size(); ++i) {
        session.seeds.push_back(vectorAt(seeds[i], element("seeds", i)));
    }

    session.evolutionCount =
        integerAt(root["evolutions"], "evolutions", 0, kinora::Exploration::maxEvolutionCount);
    session.integrationStep = positiveAt(root["step"], "step");
    session.duration = positiveAt(root["duration"], "duration");
    if (root.contains(QLatin1String("transient"))) {
        // Whether it leaves part of every path is checked against the duration on open.
        session.transient = numberAt(root["transient"], "transient");
    }

    const QJsonArray window = arrayAt(root["window"], "window", 2, 2);
    session.windowWidth =
        static_cast<int>(integerAt(window[0], "window[0]", 1, KNSessionReader::maxWindowSide));
    session.windowHeight =
        static_cast<int>(integerAt(window[1], "window[1]", 1, KNSessionReader::maxWindowSide));

    session.plotCamera = viewCameraAt(root["plotView"], "plotView", version);
    session.parameterCamera = viewCameraAt(root["parameterView"], "parameterView", version);

    if (root.contains(QLatin1String("panels"))) {
        const QJsonObject panels = objectAt(root["panels"], "panels");
        expectKeys(panels, "panels", {}, {"findings", "timeSeries"});
        for (const auto& [key, shown] : {std::pair{"findings", &session.findingsPanelShown},
                                         std::pair{"timeSeries", &session.timeSeriesShown}}) {
            if (panels.contains(QLatin1String(key))) {
                if (!panels[QLatin1String(key)].isBool()) {
                    throw Refusal(quoted(std::string("panels.") + key) + " must be true or false.");
                }
                *shown = panels[QLatin1String(key)].toBool();
            }
        }
    }
    if (root.contains(QLatin1String("pathColours"))) {
        const std::string colours = stringAt(root["pathColours"], "pathColours");
        if (colours == "exponent") {
            session.pathColours = KNSession::PathColours::byExponent;
        } else if (colours != "s") {
            throw Refusal(quoted("pathColours") + " must be \"s\" or \"exponent\".");
        }
    }
    if (root.contains(QLatin1String("analysis"))) {
        session.analysis = analysisAt(root["analysis"], "analysis");
    }
    return session;
}

std::optional<KNSession> fail(KNError* error, const std::string& reason) {
    if (error) {
        *error = KNError{errorDomain, 0, reason};
    }
    return std::nullopt;
}

} // namespace

std::string KNSessionReader::sizeRefusal() {
    return "the file is larger than " + std::to_string(maxFileBytes / (1024 * 1024)) + " MB.";
}

std::optional<KNSession> KNSessionReader::parse(const QByteArray& bytes, KNError* error) {
    // Checked here too, so a session is never saved larger than it may be opened.
    if (static_cast<std::size_t>(bytes.size()) > maxFileBytes) {
        return fail(error, sizeRefusal());
    }
    if (const std::optional<std::string> refusal = outlineRefusal(bytes)) {
        return fail(error, *refusal);
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail(error, "it is not a complete session file (" +
                               parseError.errorString().toStdString() + " at byte " +
                               std::to_string(parseError.offset) + ").");
    }
    if (!document.isObject()) {
        return fail(error, "it is not a session file (no JSON object at its top).");
    }
    try {
        return sessionAt(document.object());
    } catch (const Refusal& refusal) {
        return fail(error, refusal.what());
    }
}

std::optional<KNSession> KNSessionReader::readFile(const std::string& path, KNError* error) {
    const std::string name = quotedFileName(path);
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    if (status.type() != std::filesystem::file_type::regular) {
        return fail(error, "Cannot open the session " + name +
                               (status.type() == std::filesystem::file_type::not_found
                                    ? ": there is no such file."
                                    : ": it is not a regular file."));
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error, "Cannot read the session " + name + ": " +
                               file.errorString().toStdString() + ".");
    }
    const QByteArray bytes = file.read(static_cast<qint64>(maxFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        return fail(error, "Cannot read the session " + name + ": " +
                               file.errorString().toStdString() + ".");
    }
    if (static_cast<std::size_t>(bytes.size()) > maxFileBytes) {
        return fail(error, "Cannot open the session " + name + ": " + sizeRefusal());
    }
    KNError reason;
    std::optional<KNSession> session = parse(bytes, &reason);
    if (!session) {
        return fail(error, "Cannot open the session " + name + ": " + reason.failureReason);
    }
    return session;
}
