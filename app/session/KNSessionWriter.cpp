#include "KNSessionWriter.h"

#include "KNSessionReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QJsonArray vectorJson(const kinora::Vector3& v) {
    return {v.x, v.y, v.z};
}

QJsonArray rotationJson(const kinora::Matrix4& rotation) {
    QJsonArray array;
    for (float entry : rotation.m) {
        array.append(static_cast<double>(entry));
    }
    return array;
}

QJsonObject cameraJson(const KNViewCamera& camera) {
    const kinora::Transform& scene = camera.sceneTransform;
    return {
        {"size", QJsonArray{camera.width, camera.height}},
        {"scene", QJsonObject{{"rotation", rotationJson(scene.rotation)},
                              {"scale", vectorJson(scene.scale)},
                              {"position", vectorJson(scene.position)},
                              {"pivot", vectorJson(scene.pivot)}}},
        {"eye", QJsonObject{{"rotation", rotationJson(camera.eye.rotation)},
                            {"position", vectorJson(camera.eye.position)}}},
        {"zoom", static_cast<double>(camera.zoom)},
        {"projection", camera.projection == kinora::Camera::Projection::orthographic
                           ? "orthographic"
                           : "perspective"},
    };
}

QJsonObject systemJson(const KNSystemSource& source) {
    if (source.kind == KNSystemSource::Kind::builtIn) {
        return {{"kind", "built-in"}, {"name", QString::fromStdString(source.name)}};
    }
    return {{"kind", "script"},
            {"fileName", QString::fromStdString(source.name)},
            {"text", QString::fromStdString(source.scriptText)}};
}

QJsonObject analysisJson(const kinora::AnalysisPanelSettings& analysis) {
    const kinora::OrbitPanelSettings& orbit = analysis.orbit;
    return {
        {"section", QJsonObject{{"axis", kinora::axisName(analysis.section.axis)},
                                {"value", analysis.section.value},
                                {"direction", kinora::directionName(analysis.section.direction)},
                                {"shown", analysis.sectionShown}}},
        {"orbitDiagram",
         QJsonObject{{"values", orbit.resolution},
                     {"seed", vectorJson(orbit.seed)},
                     {"transient", orbit.transientTime},
                     {"recorded", orbit.recordedTime},
                     {"plot", orbit.quantity == kinora::OrbitQuantity::localMaxima ? "maxima"
                                                                                   : "crossings"},
                     {"variable", kinora::axisName(orbit.variable)},
                     {"shown", analysis.orbitDiagramShown}}},
    };
}

bool fail(KNError* error, const std::string& reason) {
    if (error) {
        *error = KNError{"KNSessionErrorDomain", 0, reason};
    }
    return false;
}

} // namespace

QByteArray KNSessionWriter::json(const KNSession& session) {
    QJsonArray parameters;
    for (const KNSessionParameter& parameter : session.parameters) {
        parameters.append(QJsonObject{{"name", QString::fromStdString(parameter.name)},
                                      {"start", parameter.start},
                                      {"end", parameter.end}});
    }
    QJsonArray seeds;
    for (const kinora::Vector3& seed : session.seeds) {
        seeds.append(vectorJson(seed));
    }
    const auto& axes = session.axisToParameterMapping;
    QJsonObject root{
        {"format", "kinora-session"},
        {"version", KNSession::formatVersion},
        {"system", systemJson(session.system)},
        {"parameters", parameters},
        {"axes", QJsonArray{axes[0], axes[1], axes[2]}},
        {"seeds", seeds},
        {"evolutions", static_cast<qint64>(session.evolutionCount)},
        {"step", session.integrationStep},
        {"duration", session.duration},
        {"transient", session.transient},
        {"window", QJsonArray{session.windowWidth, session.windowHeight}},
        {"plotView", cameraJson(session.plotCamera)},
        {"parameterView", cameraJson(session.parameterCamera)},
        {"analysis", analysisJson(session.analysis)},
    };
    // Only what differs from a new window, so a session of a window as it opens reads the same.
    QJsonObject panels;
    if (session.findingsPanelShown) {
        panels["findings"] = true;
    }
    if (!session.timeSeriesShown) {
        panels["timeSeries"] = false;
    }
    if (!panels.isEmpty()) {
        root["panels"] = panels;
    }
    if (session.pathColours == KNSession::PathColours::byExponent) {
        root["pathColours"] = "exponent";
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool KNSessionWriter::writeFile(const std::string& path, const KNSession& session, KNError* error) {
    const std::string name = quotedFileName(path);
    const QByteArray bytes = json(session);
    KNError unreadable;
    if (!KNSessionReader::parse(bytes, &unreadable)) {
        return fail(error, "Cannot save the session " + name +
                               ": it would not open again, because " + unreadable.failureReason);
    }
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: a buffered write that fails only when flushed on commit would still be
    // renamed into place, cut short.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(error, "Cannot save the session " + name + ": " +
                               file.errorString().toStdString() + ".");
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return fail(error, "Cannot save the session " + name + ": " +
                               file.errorString().toStdString() +
                               ". Any earlier file is unchanged.");
    }
    return true;
}
