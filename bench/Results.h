#pragma once

// Shared by the benchmarks: the machine they ran on, and the results file they fill.

#include <QStringList>

#include <benchmark/benchmark.h>

#include <map>
#include <string>

/// Prints as usual and keeps each benchmark's median time per iteration, in microseconds.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    std::map<std::string, double> medians;
};

/// A short description of this machine: processor, cores, memory, kernel.
QString MachineDescription();

/// Replaces the section titled \a title in bench/RESULTS.md with \a lines, and prints them.
void WriteResults(const QString& title, const QStringList& lines);
