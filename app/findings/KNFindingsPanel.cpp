#include "KNFindingsPanel.h"

#include "NumberText.h"
#include "SeedNumber.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString number(double value) {
    return QString::fromStdString(kinora::roundedNumberText(value, 6));
}

QString position(kinora::Vector3 p) {
    return QStringLiteral("(%1, %2, %3)").arg(number(p.x), number(p.y), number(p.z));
}

QString eigenvalue(std::complex<double> value) {
    if (value.imag() == 0.0) {
        return number(value.real());
    }
    const QString sign = value.imag() < 0.0 ? QStringLiteral(" − ") : QStringLiteral(" + ");
    return number(value.real()) + sign + number(std::abs(value.imag())) + QStringLiteral("i");
}

QTableWidget* makeTable(const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

} // namespace

KNFindingsPanel::KNFindingsPanel(QWidget* parent)
    : QDockWidget(tr("Equilibria and Lyapunov Exponents"), parent) {
    setObjectName(QStringLiteral("findingsPanel"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    summary = new QLabel(content);
    summary->setWordWrap(true);
    layout->addWidget(summary);
    auto* splitter = new QSplitter(Qt::Vertical, content);
    // The class before the eigenvalues, whose long texts would otherwise push it out of sight.
    equilibria = makeTable(
        {tr("Evolution"), tr("s"), tr("Position"), tr("Class"), tr("Eigenvalues")}, splitter);
    exponents = makeTable({tr("Seed"), tr("Evolution"), tr("s"), tr("Largest exponent")}, splitter);
    splitter->addWidget(equilibria);
    splitter->addWidget(exponents);
    layout->addWidget(splitter, 1);
    setWidget(content);
    // Room for a position and three complex eigenvalues without scrolling on most screens.
    content->setMinimumWidth(fontMetrics().averageCharWidth() * 80);
}

QString KNFindingsPanel::summaryText() const {
    return summary->text();
}

QString KNFindingsPanel::shapeSymbol(kinora::StabilityClass kind) {
    switch (kind) {
    case kinora::StabilityClass::stableNode:
        return QStringLiteral("●");
    case kinora::StabilityClass::unstableNode:
        return QStringLiteral("○");
    case kinora::StabilityClass::saddle:
        return QStringLiteral("✕");
    case kinora::StabilityClass::stableFocus:
        return QStringLiteral("◆");
    case kinora::StabilityClass::unstableFocus:
        return QStringLiteral("◇");
    case kinora::StabilityClass::saddleFocus:
        return QStringLiteral("▲");
    case kinora::StabilityClass::nonHyperbolic:
        return QStringLiteral("■");
    }
    return {};
}

void KNFindingsPanel::showPending(const QString& reason) {
    summary->setText(reason);
    equilibria->setRowCount(0);
    exponents->setRowCount(0);
}

void KNFindingsPanel::showFindings(const kinora::ExplorationFindings& findings) {
    equilibria->setRowCount(0);
    exponents->setRowCount(0);
    if (!findings.error.empty()) {
        summary->setText(
            tr("The analysis stopped: %1").arg(QString::fromStdString(findings.error)));
        return;
    }
    int starts = 0;
    kinora::EquilibriumSearchResult failures;
    for (const kinora::EvolutionFindings& evolution : findings.evolutions) {
        starts += evolution.newtonStarts;
        failures.leftFiniteRange += evolution.equilibria.leftFiniteRange;
        failures.singular += evolution.equilibria.singular;
        failures.notConverged += evolution.equilibria.notConverged;
        const QString m = QString::number(evolution.evolution + 1);
        for (const kinora::Equilibrium& point : evolution.equilibria.equilibria) {
            const int row = equilibria->rowCount();
            equilibria->insertRow(row);
            QStringList values;
            for (const std::complex<double>& value : point.eigenvalues) {
                values << eigenvalue(value);
            }
            setRow(equilibria, row,
                   {m, number(evolution.s), position(point.position),
                    shapeSymbol(point.stability) + QLatin1Char(' ') +
                        QString::fromStdString(kinora::stabilityClassName(point.stability)),
                    values.join(QStringLiteral(", "))});
        }
        for (std::size_t k = 0; k < evolution.exponents.size(); ++k) {
            const kinora::LyapunovEstimate& estimate = evolution.exponents[k];
            const int row = exponents->rowCount();
            exponents->insertRow(row);
            setRow(exponents, row,
                   {QString::number(kinora::seedNumber(k)), m, number(evolution.s),
                    estimate.exponent ? number(*estimate.exponent)
                                      : QString::fromStdString(estimate.problem)});
        }
    }
    QStringList lines;
    const int failed = failures.leftFiniteRange + failures.singular + failures.notConverged;
    lines << tr("%n equilibria in %1 evolutions.", nullptr, equilibria->rowCount())
                 .arg(findings.evolutions.size());
    if (failed > 0) {
        lines << tr("%1 of %2 Newton starts found no equilibrium (%3 left the finite range, %4 "
                    "met a singular Jacobian, %5 did not converge); none of them is shown.")
                     .arg(failed)
                     .arg(starts)
                     .arg(failures.leftFiniteRange)
                     .arg(failures.singular)
                     .arg(failures.notConverged);
    }
    if (!findings.exponentsComplete) {
        lines << tr("Computing the Lyapunov exponents…");
    }
    summary->setText(lines.join(QLatin1Char(' ')));
}
