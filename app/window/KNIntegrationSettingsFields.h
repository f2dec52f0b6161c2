#pragma once

#include <functional>
#include <optional>
#include <string>

class KNNumberField;
class KNStatusReporter;
class QObject;

namespace kinora {
class Exploration;
}

// The toolbar's fields for the evolutions, the integration step, the path duration and the
// transient (Skip), bound
// to an exploration: each refuses what the exploration would refuse, with the reason in the
// status bar, hands an accepted value on, and shows the setting in force.
class KNIntegrationSettingsFields {
public:
    struct Fields {
        KNNumberField* evolutions;
        KNNumberField* integrationStep;
        KNNumberField* pathDuration;
        KNNumberField* transient;
    };
    // What an accepted value is handed to.
    struct Actions {
        std::function<void(int count)> changeEvolutions;
        std::function<void(double step)> changeIntegrationStep;
        std::function<void(double duration)> changePathDuration;
        std::function<void(double transient)> changeTransient;
    };

    // The connections live as long as context; the fields and the exploration must outlive it.
    KNIntegrationSettingsFields(Fields fields, const kinora::Exploration& exploration,
                                KNStatusReporter* status, const Actions& actions, QObject* context);

    // Each field shows the exploration's setting, whether or not the last change was taken.
    void showSettingsInForce();
    // After a change: the settings in force, and why the change was refused in the status bar.
    // Whether it was taken.
    bool showChange(const std::optional<std::string>& refusal);

private:
    Fields fields;
    const kinora::Exploration& exploration;
    KNStatusReporter* status;
};
