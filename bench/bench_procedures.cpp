// The procedures a user waits on, measured with the real address source, settings store and
// file system: the refresh (both options off), the address file write and OpenSettings.

#include "Results.h"
#include "TestPlatform.h"
#include "app/frmMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace nc;

namespace {

/// A loaded main window whose address comes from the real source, options stored as given.
struct Loaded {
    Loaded(int autoCopy, int autoSave) {
        platform.storeOptions(autoCopy, autoSave, platform.path(QStringLiteral("out/LocalIp.txt")));
        window.Form_Load();
    }
    TestPlatform platform{RealAddress};
    frmMain window{platform.bundle};
};

void Refresh(benchmark::State& state) {
    Loaded loaded(0, 0);
    for (auto _ : state)
        loaded.window.cmdUpdate_Click();
}
BENCHMARK(Refresh)->Unit(benchmark::kMicrosecond);

void AddressFileWrite(benchmark::State& state) {
    Loaded loaded(0, 1);
    for (auto _ : state)
        loaded.window.AutoSave();
}
BENCHMARK(AddressFileWrite)->Unit(benchmark::kMicrosecond);

void OpenSettings(benchmark::State& state) {
    Loaded loaded(0, 0);
    for (auto _ : state)
        loaded.window.OpenSettings();
}
BENCHMARK(OpenSettings)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::map<std::string, double> targets{
        {"Refresh", 200.0}, {"AddressFileWrite", 1000.0}, {"OpenSettings", 100.0}};
    QStringList rows{QStringLiteral("| Procedure | Median | Target | Met |"),
                     QStringLiteral("|---|---|---|---|")};
    bool allMet = true;
    for (const auto& [name, target] : targets) {
        const double median = reporter.medians.at(name);
        allMet = allMet && median < target;
        rows << QStringLiteral("| %1 | %2 µs | under %3 µs | %4 |")
                    .arg(QString::fromStdString(name))
                    .arg(median, 0, 'f', 1)
                    .arg(target)
                    .arg(median < target ? QStringLiteral("yes") : QStringLiteral("**no**"));
    }
    WriteResults(QStringLiteral("Procedures (Google Benchmark, median of repetitions)"), rows);
    return allMet ? 0 : 1;
}
