#pragma once

#include <functional>

class KNNumberField;
class KNStatusReporter;
class QObject;

namespace kinora {
class Exploration;
}

// The toolbar's fields for the evolutions, the integration step and the path duration, bound
// to an exploration: each refuses what the exploration would refuse, with the reason in the
// status bar, hands an accepted value on, and shows the setting in force.
class KNIntegrationSettingsFields {
public:
    struct Fields {
        KNNumberField* evolutions;
        KNNumberField* integrationStep;
        KNNumberField* pathDuration;
    };
    // What an accepted value is handed to.
    struct Actions {
        std::function<void(int count)> changeEvolutions;
        std::function<void(double step)> changeIntegrationStep;
        std::function<void(double duration)> changePathDuration;
    };

    // The connections live as long as context; the fields and the exploration must outlive it.
    KNIntegrationSettingsFields(Fields fields, const kinora::Exploration& exploration,
                                KNStatusReporter* status, const Actions& actions, QObject* context);

    // Each field shows the exploration's setting, whether or not the last change was taken.
    void showSettingsInForce();

private:
    Fields fields;
    const kinora::Exploration& exploration;
};
