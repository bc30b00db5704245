// Start-up: the time from starting a program to its first window being mapped on the X
// server, and the program's peak resident memory, for Netcairn and for the floor (the same
// window in plain Qt), measured in alternating pairs in the same run. Expects DISPLAY to name
// an X server without a window manager, so that a map request is the map itself, and
// DBUS_SESSION_BUS_ADDRESS a session bus, as on a desktop.

#include "Results.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct Sample {
    double milliseconds;
    double peakMiB;
};

/// Starts \a program, waits for its first top-level window to be mapped, lets it settle, ends
/// it and returns how long the map took and how much memory it used at most.
Sample measure(xcb_connection_t* x, const char* program) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    double ms = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        free(event);
        if (mapped) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
            break;
        }
    }
    usleep(300 * 1000); // whatever start-up still allocates after the map
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {ms, usage.ru_maxrss / 1024.0};
}

/// Starts \a program with a settings file of about 10 MB of tiny values, the slowest shape to
/// read, sends it SIGTERM \a afterMs milliseconds later, as a logout during start-up does, and
/// returns how long it took from the signal to its end.
double endedDuringStartUp(const char* program, const QString& configHome, int afterMs) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", qPrintable(configHome), 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    usleep(afterMs * 1000);
    const auto signalled = std::chrono::steady_clock::now();
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - signalled)
        .count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        QTextStream(stderr) << "usage: bench_startup ROUNDS NETCAIRN FLOOR\n";
        return 2;
    }
    const int rounds = args[1].toInt();
    std::vector<QByteArray> programs;
    for (const QString& program : args.mid(2))
        programs.push_back(program.toLocal8Bit());

    // One throw-away home for every run: the first start writes Netcairn's defaults, the
    // measured ones read them, as a user's every start after the first does.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        QTextStream(stderr) << "no X server\n";
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // Warm-up round (file caches, Netcairn's first start), then the programs in turn.
    std::vector<std::vector<Sample>> samples(programs.size());
    for (int round = -1; round < rounds; ++round) {
        for (size_t i = 0; i < programs.size(); ++i) {
            const Sample sample = measure(x, programs[i].constData());
            if (round >= 0)
                samples[i].push_back(sample);
        }
    }
    xcb_disconnect(x);

    QTemporaryDir large;
    QFile ini(large.filePath(QStringLiteral("Netcairn/Netcairn.ini")));
    if (!QDir().mkpath(large.filePath(QStringLiteral("Netcairn"))) ||
        !ini.open(QIODevice::WriteOnly) ||
        ini.write(QByteArray("[Options]\n") + QByteArray("k=\n").repeated(3'500'000)) < 0)
        return 2;
    ini.close();
    QStringList signalRows{QStringLiteral("| Signal after start | Signal to end, median | Slowest "
                                          "| Target |"),
                           QStringLiteral("|---|---|---|---|")};
    for (const int afterMs : {20, 100, 400}) {
        std::vector<double> ended;
        for (int round = 0; round < 5; ++round)
            ended.push_back(endedDuringStartUp(programs[0].constData(), large.path(), afterMs));
        const double slowest = *std::max_element(ended.begin(), ended.end());
        signalRows << QStringLiteral("| %1 ms | %2 ms | %3 ms | within 1000 ms%4 |")
                          .arg(afterMs)
                          .arg(median(ended), 0, 'f', 0)
                          .arg(slowest, 0, 'f', 0)
                          .arg(slowest <= 1000 ? QString() : QStringLiteral(" (**missed**)"));
    }

    const auto medians = [&](size_t i) {
        std::vector<double> ms, mib;
        for (const Sample& s : samples[i]) {
            ms.push_back(s.milliseconds);
            mib.push_back(s.peakMiB);
        }
        return Sample{median(ms), median(mib)};
    };
    const Sample netcairn = medians(0);
    QStringList rows{QStringLiteral("| Program | Start to window mapped | Peak resident memory | "
                                    "Time ratio (target at most 1.05) | Memory ratio (target at "
                                    "most 1.03) |"),
                     QStringLiteral("|---|---|---|---|---|")};
    for (size_t i = 0; i < programs.size(); ++i) {
        const Sample m = medians(i);
        const auto ratio = [](double r, double target) {
            return QString::number(r, 'f', 3) +
                   (r <= target ? QString() : QStringLiteral(" (**missed**)"));
        };
        rows << QStringLiteral("| %1 | %2 ms | %3 MiB | %4 | %5 |")
                    .arg(QFileInfo(QString::fromLocal8Bit(programs[i])).fileName())
                    .arg(m.milliseconds, 0, 'f', 1)
                    .arg(m.peakMiB, 0, 'f', 1)
                    .arg(i == 0 ? QStringLiteral("-")
                                : ratio(netcairn.milliseconds / m.milliseconds, 1.05))
                    .arg(i == 0 ? QStringLiteral("-") : ratio(netcairn.peakMiB / m.peakMiB, 1.03));
    }
    WriteResults(QStringLiteral("Start-up (Xvfb without a window manager, medians of %1 rounds)")
                     .arg(rounds),
                 rows);
    WriteResults(QStringLiteral("A signal during start-up, with a 10 MB settings file"),
                 signalRows);
    return 0;
}
