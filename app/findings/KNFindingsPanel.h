#pragma once

#include "FindingsComputation.h"

#include <QDockWidget>
#include <QString>

class QLabel;
class QTableWidget;

// The window's findings about its paths as tables: every evolution's equilibria (evolution, s,
// position, class with the shape of its marker in the plot view, and eigenvalues) and
// every path's largest Lyapunov exponent, or why it has none; a line above says what the Newton
// starts could not find and what is still being computed. A dock of the plot window, shown and
// hidden from its View menu.
class KNFindingsPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit KNFindingsPanel(QWidget* parent = nullptr);

    // Fills both tables; the exponents' table says "computing…" until they are complete.
    void showFindings(const kinora::ExplorationFindings& findings);
    // Empties both tables, saying why: the paths they were for have changed.
    void showPending(const QString& reason);

    QTableWidget* equilibriumTable() const { return equilibria; }
    QTableWidget* exponentTable() const { return exponents; }
    QString summaryText() const;

    // The marker's shape for each class, as the class column shows it: "●", "○", ...
    static QString shapeSymbol(kinora::StabilityClass kind);

private:
    QLabel* summary;
    QTableWidget* equilibria;
    QTableWidget* exponents;
};
