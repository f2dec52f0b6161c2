#pragma once

#include "PoincareSection.h"

#include <cstdint>
#include <optional>
#include <string>

// Which table of findings an export writes, and the settings it is computed with.
struct KNAnalysisRequest {
    enum class Table { equilibria, lyapunov, crossings, orbitDiagram };

    Table table = Table::equilibria;
    // The part-th (from 1) of `parts` consecutive runs of the table's parameter values.
    int part = 1;
    int parts = 1;
    // The plane for crossings, and for an orbit diagram of crossings; without one an orbit
    // diagram plots the local maxima of maximaVariable (0 x, 1 y, 2 z).
    std::optional<kinora::PoincareSection> section;
    int maximaVariable = 2;
    // The orbit diagram's parameter values along the sweep.
    std::int32_t orbitValues = 1000;

    // Whether the command line names the table (`--table`).
    bool tableGiven = false;

    // "equilibria", "lyapunov", "crossings", "orbit-diagram".
    static std::optional<Table> tableNamed(const std::string& name);
    // Whether argument is one of the options below, each followed by its value.
    static bool isOption(const std::string& argument);
    // Reads `--table NAME`, `--shard K/N`, `--section AXIS=VALUE[,down|,both]`,
    // `--maxima AXIS` or `--values N`; why the value is refused, or nothing.
    std::optional<std::string> readOption(const std::string& option, const std::string& value);
};
