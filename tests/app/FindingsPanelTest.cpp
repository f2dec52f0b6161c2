#include "ControllerTest.h"
#include "KNFindingsControls.h"
#include "KNFindingsPanel.h"
#include "NumberText.h"

#include <QAction>
#include <QTableWidget>
#include <cmath>

namespace {

QString cell(QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QString rounded(double value) {
    return QString::fromStdString(kinora::roundedNumberText(value, 6));
}

class FindingsPanel : public ControllerTest {};

// Lorenz has the origin and, for rho > 1, C± = (±√(β(ρ−1)), ±√(β(ρ−1)), ρ−1): the panel lists
// the three for every evolution, in the window's own order, and drops them when the paths change
// until the new ones are found.
TEST_F(FindingsPanel, ListsLorenzEquilibriaAndWithdrawsThemWhenThePathsChange) {
    auto controller = lorenzWindow();
    controller->changeParameterSweep(0, 10.0, 28.0);
    controller->changeParameterSweep(1, 10.0, 10.0);
    controller->changeParameterSweep(2, 8.0 / 3.0, 8.0 / 3.0);
    waitForRecomputation(*controller);
    KNFindingsControls& findings = *controller->findings();
    findings.setPanelShown(true);
    QTableWidget* table = findings.panel()->equilibriumTable();
    const int evolutions = static_cast<int>(controller->evolutionCount());
    ASSERT_TRUE(eventually([&] { return table->rowCount() == 3 * evolutions; }))
        << findings.panel()->summaryText().toStdString();

    for (int m = 0; m < evolutions; ++m) {
        const double rho = 10.0 + 18.0 * m / (evolutions - 1);
        const double c = std::sqrt(8.0 / 3.0 * (rho - 1.0));
        const QString expected[3] = {
            QStringLiteral("(%1, %2, %3)").arg(rounded(-c), rounded(-c), rounded(rho - 1.0)),
            QStringLiteral("(0, 0, 0)"),
            QStringLiteral("(%1, %2, %3)").arg(rounded(c), rounded(c), rounded(rho - 1.0))};
        for (int k = 0; k < 3; ++k) {
            const int row = 3 * m + k;
            EXPECT_EQ(cell(table, row, 0), QString::number(m + 1));
            EXPECT_EQ(cell(table, row, 2), expected[k]) << "evolution " << m;
        }
        // The origin has one positive real eigenvalue and two negative: a saddle.
        EXPECT_TRUE(cell(table, 3 * m + 1, 3).endsWith(QStringLiteral("saddle")));
    }

    Seed* seed = firstSeed(*controller);
    seed->transform.position = kinora::Vector3(2.0, 1.0, 1.0);
    controller->updateSeed(seed);
    EXPECT_NE(table->rowCount(), 3 * evolutions);
    EXPECT_TRUE(eventually([&] { return table->rowCount() == 3 * evolutions; }));
}

// A path of the default 10 time units is too short for an exponent: its row says so.
TEST_F(FindingsPanel, AShortPathSaysWhyItHasNoExponent) {
    auto controller = lorenzWindow();
    controller->findings()->setPathColouring(KNPlotView::PathColouring::byExponent);
    controller->findings()->setPanelShown(true);
    QTableWidget* table = controller->findings()->panel()->exponentTable();
    ASSERT_TRUE(eventually([&] { return table->rowCount() > 0; }));
    EXPECT_TRUE(cell(table, 0, 3).contains(QStringLiteral("too short")));
    EXPECT_TRUE(controller->findings()->colourByExponentAction()->isChecked());
}

} // namespace
