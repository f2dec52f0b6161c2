#include "KNRecomputationReport.h"

#include "MessageText.h"
#include "NumberText.h"
#include "PathDuration.h"

#include <QObject>
#include <QStringList>
#include <algorithm>

namespace {

// Enough parameters to tell the evolution apart without running off the status bar.
constexpr std::size_t shownParameters = 4;

// Exact, so a message never shows two different values as one.
QString number(double value) {
    return QString::fromStdString(kinora::shortestNumberText(value));
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

void KNRecomputationReport::stopped(std::int64_t donePaths, std::int64_t totalPaths) {
    stop = {donePaths, totalPaths};
}

QString KNRecomputationReport::stopSentence() const {
    const auto [done, total] = *stop;
    // Rounded down, so a share short of all never reads 100 %.
    const std::int64_t percent = total > 0 ? done * 100 / total : 100;
    return QObject::tr("Stopped: %1 of the %2 paths being computed are drawn (%3 %); the others "
                       "are blank.")
        .arg(QString::fromStdString(kinora::groupedCount(static_cast<double>(done))),
             QString::fromStdString(kinora::groupedCount(static_cast<double>(total))))
        .arg(percent);
}

QString KNRecomputationReport::message() const {
    QStringList sentences;
    if (stop) {
        sentences << stopSentence();
    }
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
