#include "KNIntegrationSettingsFields.h"

#include "Exploration.h"
#include "KNNumberField.h"
#include "KNStatusReporter.h"

namespace {

std::optional<QString> text(const std::optional<std::string>& refusal) {
    if (!refusal) {
        return std::nullopt;
    }
    return QString::fromStdString(*refusal);
}

} // namespace

KNIntegrationSettingsFields::KNIntegrationSettingsFields(Fields fields,
                                                         const kinora::Exploration& exploration,
                                                         KNStatusReporter* status,
                                                         const Actions& actions, QObject* context)
    : fields(fields), exploration(exploration), status(status) {
    fields.evolutions->setCheck(
        [&exploration](double count) { return text(exploration.evolutionsRefusal(count)); });
    fields.integrationStep->setCheck(
        [&exploration](double step) { return text(exploration.integrationStepRefusal(step)); });
    fields.pathDuration->setCheck([&exploration](double duration) {
        return text(exploration.pathDurationRefusal(duration));
    });
    fields.transient->setCheck(
        [&exploration](double transient) { return text(exploration.transientRefusal(transient)); });
    QObject::connect(
        fields.evolutions, &KNNumberField::valueEntered, context,
        [change = actions.changeEvolutions](double count) { change(static_cast<int>(count)); });
    QObject::connect(fields.integrationStep, &KNNumberField::valueEntered, context,
                     actions.changeIntegrationStep);
    QObject::connect(fields.pathDuration, &KNNumberField::valueEntered, context,
                     actions.changePathDuration);
    QObject::connect(fields.transient, &KNNumberField::valueEntered, context,
                     actions.changeTransient);
    for (KNNumberField* field :
         {fields.evolutions, fields.integrationStep, fields.pathDuration, fields.transient}) {
        QObject::connect(field, &KNNumberField::valueRefused, status,
                         &KNStatusReporter::reportRefusal);
    }
}

void KNIntegrationSettingsFields::showSettingsInForce() {
    fields.evolutions->setDoubleValue(static_cast<double>(exploration.evolutionCount()));
    fields.integrationStep->setDoubleValue(exploration.integrator().integrationStep());
    fields.pathDuration->setDoubleValue(exploration.pathDuration());
    fields.transient->setDoubleValue(exploration.transient());
}

bool KNIntegrationSettingsFields::showChange(const std::optional<std::string>& refusal) {
    showSettingsInForce();
    if (refusal) {
        status->reportRefusal(QString::fromStdString(*refusal));
    }
    return !refusal;
}
