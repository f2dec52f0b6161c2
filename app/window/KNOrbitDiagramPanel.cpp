#include "KNOrbitDiagramPanel.h"

#include "KNNumberField.h"
#include "KNScatterView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

KNOrbitDiagramPanel::KNOrbitDiagramPanel(QWidget* parent)
    : QWidget(parent), quantity(new QComboBox), variable(new QComboBox), progress(new QLabel),
      view(new KNScatterView) {
    quantity->addItems({QStringLiteral("maxima of"), QStringLiteral("section crossings,")});
    quantity->setToolTip(QStringLiteral("Plot the local maxima of a variable, or one coordinate "
                                        "where the orbit crosses the section plane"));
    variable->addItems({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    values = numberField(QStringLiteral("Parameter values along the sweep, 100 to 5,000"),
                         [](kinora::OrbitPanelSettings& s, double v) {
                             s.resolution = static_cast<std::int32_t>(v);
                         });
    // Checked as typed, before it becomes a whole number of values.
    values->setCheck([this](double value) -> std::optional<QString> {
        if (const auto refusal = kinora::orbitResolutionRefusal(value)) {
            return QString::fromStdString(*refusal);
        }
        kinora::OrbitPanelSettings settings = chosen();
        settings.resolution = static_cast<std::int32_t>(value);
        return check ? check(settings) : std::nullopt;
    });
    for (int i = 0; i < 3; ++i) {
        seed[i] = numberField(QStringLiteral("The orbit's starting point"),
                              [i](kinora::OrbitPanelSettings& s, double v) {
                                  (i == 0 ? s.seed.x : (i == 1 ? s.seed.y : s.seed.z)) = v;
                              });
    }
    transient = numberField(QStringLiteral("Time integrated and discarded before recording"),
                            [](kinora::OrbitPanelSettings& s, double v) { s.transientTime = v; });
    recorded = numberField(QStringLiteral("Time recorded after the transient"),
                           [](kinora::OrbitPanelSettings& s, double v) { s.recordedTime = v; });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Plot")), 0, 0);
    auto* what = new QHBoxLayout;
    what->addWidget(quantity);
    what->addWidget(variable);
    what->addWidget(new QLabel(QStringLiteral("at")));
    what->addWidget(values);
    what->addWidget(new QLabel(QStringLiteral("values")));
    what->addStretch();
    grid->addLayout(what, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Seed")), 1, 0);
    auto* from = new QHBoxLayout;
    for (KNNumberField* field : seed) {
        from->addWidget(field);
    }
    from->addWidget(new QLabel(QStringLiteral("transient")));
    from->addWidget(transient);
    from->addWidget(new QLabel(QStringLiteral("then")));
    from->addWidget(recorded);
    from->addStretch();
    grid->addLayout(from, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid);
    layout->addWidget(view, 1);
    layout->addWidget(progress);

    const auto send = [this] {
        const kinora::OrbitPanelSettings settings = chosen();
        if (check) {
            if (const auto refusal = check(settings)) {
                showSettings(shown);
                if (refused) {
                    refused(*refusal);
                }
                return;
            }
        }
        shown = settings;
        if (changed) {
            changed(settings);
        }
    };
    connect(quantity, &QComboBox::activated, this, send);
    connect(variable, &QComboBox::activated, this, send);
}

KNNumberField*
KNOrbitDiagramPanel::numberField(const QString& tip,
                                 std::function<void(kinora::OrbitPanelSettings&, double)> put) {
    auto* field = new KNNumberField;
    field->setToolTip(tip);
    field->setMaximumWidth(70);
    field->setCheck([this, put](double value) -> std::optional<QString> {
        kinora::OrbitPanelSettings settings = chosen();
        put(settings, value);
        return check ? check(settings) : std::nullopt;
    });
    connect(field, &KNNumberField::valueEntered, this, [this] {
        shown = chosen();
        if (changed) {
            changed(shown);
        }
    });
    return field;
}

void KNOrbitDiagramPanel::showSettings(const kinora::OrbitPanelSettings& settings) {
    shown = settings;
    quantity->setCurrentIndex(settings.quantity == kinora::OrbitQuantity::localMaxima ? 0 : 1);
    variable->setCurrentIndex(settings.variable);
    values->setDoubleValue(settings.resolution);
    seed[0]->setDoubleValue(settings.seed.x);
    seed[1]->setDoubleValue(settings.seed.y);
    seed[2]->setDoubleValue(settings.seed.z);
    transient->setDoubleValue(settings.transientTime);
    recorded->setDoubleValue(settings.recordedTime);
}

void KNOrbitDiagramPanel::showProgress(const QString& text) {
    progress->setText(text);
}

void KNOrbitDiagramPanel::setSettingsChanged(
    std::function<void(const kinora::OrbitPanelSettings&)> changedHandler) {
    changed = std::move(changedHandler);
}

void KNOrbitDiagramPanel::setCheck(
    std::function<std::optional<QString>(const kinora::OrbitPanelSettings&)> checkHandler) {
    check = std::move(checkHandler);
}

void KNOrbitDiagramPanel::setRefused(std::function<void(const QString&)> refusedHandler) {
    refused = refusedHandler;
    for (KNNumberField* field : {values, seed[0], seed[1], seed[2], transient, recorded}) {
        connect(field, &KNNumberField::valueRefused, this,
                [refusedHandler](const QString& reason) { refusedHandler(reason); });
    }
}

kinora::OrbitPanelSettings KNOrbitDiagramPanel::chosen() const {
    kinora::OrbitPanelSettings settings;
    settings.quantity = quantity->currentIndex() == 0 ? kinora::OrbitQuantity::localMaxima
                                                      : kinora::OrbitQuantity::sectionCrossings;
    settings.variable = variable->currentIndex();
    settings.resolution = static_cast<std::int32_t>(values->doubleValue());
    settings.seed = {seed[0]->doubleValue(), seed[1]->doubleValue(), seed[2]->doubleValue()};
    settings.transientTime = transient->doubleValue();
    settings.recordedTime = recorded->doubleValue();
    return settings;
}
