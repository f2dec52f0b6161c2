#include "KNRecomputationReport.h"

#include "MessageText.h"

#include <QObject>
#include <QStringList>
#include <algorithm>

namespace {

// Enough parameters to tell the evolution apart without running off the status bar.
constexpr std::size_t shownParameters = 4;

QString number(double value) {
    return QString::number(value, 'g', 6);
}

QString positionText(kinora::Vector3 position) {
    return QStringLiteral("(%1, %2, %3)")
        .arg(number(position.x), number(position.y), number(position.z));
}

} // namespace

void KNRecomputationReport::clear() {
    *this = KNRecomputationReport();
}

void KNRecomputationReport::add(int seedNumber, kinora::Vector3 position, double s,
                                const KinoraSystem& system,
                                const kinora::EvolutionOutcome& outcome) {
    totals.add(outcome);
    ++pathsOfSeed[seedNumber];
    // A stopped or failing script leaves NaN behind too; that is said by its own sentence.
    if (outcome.firstNonFiniteIndex && !outcome.stopped && outcome.error.empty()) {
        ++divergingPaths;
        if (std::find(divergingSeeds.begin(), divergingSeeds.end(), seedNumber) ==
            divergingSeeds.end()) {
            divergingSeeds.push_back(seedNumber);
        }
        if (first.seedNumber == 0) {
            first.seedNumber = seedNumber;
            first.position = position;
            for (const kinora::Parameter& parameter : system.parameters) {
                first.parameters.emplace_back(parameter.name, parameter.valueAtFraction(s));
            }
        }
        if (first.seedNumber == seedNumber) {
            ++first.evolutions;
        }
    }
}

QString KNRecomputationReport::divergenceSentence() const {
    QStringList values;
    for (std::size_t i = 0; i < std::min(first.parameters.size(), shownParameters); ++i) {
        values << QStringLiteral("%1 = %2").arg(
            QString::fromStdString(kinora::boundedValue(first.parameters[i].first)),
            number(first.parameters[i].second));
    }
    if (first.parameters.size() > shownParameters) {
        values << QStringLiteral("…");
    }
    QString sentence =
        QObject::tr("Seed %1 at %2: %3 of %4 paths left the finite range, the first from %5.")
            .arg(first.seedNumber)
            .arg(positionText(first.position))
            .arg(first.evolutions)
            .arg(pathsOfSeed.at(first.seedNumber))
            .arg(values.isEmpty() ? QObject::tr("the system without parameters")
                                  : values.join(QStringLiteral(", ")));
    const auto otherSeeds = static_cast<int>(divergingSeeds.size()) - 1;
    if (otherSeeds == 1) {
        sentence += QObject::tr(" One more seed diverged too.");
    } else if (otherSeeds > 1) {
        sentence += QObject::tr(" %1 more seeds diverged too.").arg(otherSeeds);
    }
    return sentence;
}

QString KNRecomputationReport::message() const {
    QStringList sentences;
    if (divergingPaths > 0) {
        sentences << divergenceSentence();
    }
    if (totals.stoppedPaths > 0) {
        sentences << QObject::tr("The time limit stopped the script in %1 of %2 paths; they end "
                                 "where it stopped.")
                         .arg(totals.stoppedPaths)
                         .arg(totals.pathCount);
    }
    if (totals.failedPaths > 0) {
        sentences << QObject::tr("Script error in %1 of %2 paths: %3")
                         .arg(totals.failedPaths)
                         .arg(totals.pathCount)
                         .arg(QString::fromStdString(totals.firstError));
    }
    return sentences.join(QLatin1Char(' '));
}
