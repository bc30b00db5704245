// The procedures a user waits on, measured with the real address source, settings store and
// file system: the refresh (both options off), the address file write and OpenSettings; and
// the opening of a 10 MB settings file of every awkward shape, as start-up opens it.

#include "Results.h"
#include "TestPlatform.h"
#include "app/frmMain.h"

#include "platform/linux/IniSettingsStore.h"
#include "settings/Options.h"

#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
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
    auto* box = loaded.window.findChild<QLineEdit*>(QStringLiteral("txtIPAddress"));
    bool other = false; // a file that holds the address already is left alone: change it each time
    for (auto _ : state) {
        box->setText(QLatin1String((other = !other) ? "10.0.0.1" : "10.0.0.2"));
        loaded.window.AutoSave();
    }
}
BENCHMARK(AddressFileWrite)->Unit(benchmark::kMicrosecond);

void OpenSettings(benchmark::State& state) {
    Loaded loaded(0, 0);
    for (auto _ : state)
        loaded.window.OpenSettings();
}
BENCHMARK(OpenSettings)->Unit(benchmark::kMicrosecond);

/// A settings file of about 10 MB: \a line repeated (numbered where it holds "%1") between
/// \a head and the first-start marker.
QByteArray LargeFile(const QByteArray& head, const QByteArray& line) {
    constexpr qsizetype size = 10 * 1024 * 1024;
    QByteArray bytes = head;
    bytes.reserve(size + 64);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += line.contains("%1") ? QByteArray(line).replace("%1", QByteArray::number(i)) : line;
    return bytes + "\n[Setup]\nDefaultsWritten=1\n";
}

/// Start-up's readings of a 10 MB settings file of one shape, by a store that has not seen it.
void OpenLargeSettings(benchmark::State& state, const QByteArray& bytes) {
    TestPlatform platform;
    platform.writeFile(QStringLiteral("config/Netcairn/Netcairn.ini"), bytes);
    SettingsRecord record;
    for (auto _ : state) {
        IniSettingsStore store(platform.path(QStringLiteral("config")));
        try {
            ReadSettings(store, QStringLiteral("Netcairn"), record);
        } catch (const Failure&) {
        }
        benchmark::DoNotOptimize(store.IsFirstStart(QStringLiteral("Netcairn")));
    }
}

QByteArray Junk() {
    QByteArray bytes(10 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(25);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

BENCHMARK_CAPTURE(OpenLargeSettings, OneHugeValue,
                  LargeFile("[Options]\nAutoSaveDir=\"", "a\\\\b,\\\"c\\x41;"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, Keys200k,
                  LargeFile("[Options]\n", "Key%1=/home/someone/a/longer/path/LocalIp.txt\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, Sections200k,
                  LargeFile({}, "[Section%1]\nAutoSaveDir=/home/someone/LocalIp.txt\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, TinyValues3M, LargeFile("[Options]\n", "k=\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, TinySections2M, LargeFile({}, "[s]\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, BlankLines10M, LargeFile({}, "\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenLargeSettings, BinaryJunk, Junk())->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::map<std::string, double> targets{
        {"Refresh", 200.0}, {"AddressFileWrite", 1000.0}, {"OpenSettings", 100.0}};
    for (const char* shape :
         {"OneHugeValue", "Keys200k", "Sections200k", "BlankLines10M", "BinaryJunk"})
        targets[std::string("OpenLargeSettings/") + shape] = 2e6; // two seconds
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
