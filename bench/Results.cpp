#include "Results.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTextStream>

#include <thread>

void MedianReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With repetitions only the median aggregate counts; without, the single run does.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (median ||
            (run.run_type == Run::RT_Iteration && !medians.count(run.run_name.function_name)))
            medians[run.run_name.function_name] =
                run.GetAdjustedRealTime() *
                (run.time_unit == benchmark::kMillisecond ? 1000.0 : 1.0);
    }
}

QString MachineDescription() {
    QString cpu = QStringLiteral("unknown processor");
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        const QRegularExpression model(QStringLiteral("^model name\\s*:\\s*(.+)$"),
                                       QRegularExpression::MultilineOption);
        cpu = model.match(QString::fromLatin1(info.readAll())).captured(1).trimmed();
    }
    QString memory;
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly))
        memory = QString::number(meminfo.readLine().simplified().split(' ').value(1).toLongLong() /
                                 1024 / 1024) +
                 QStringLiteral(" GiB");
    return QStringLiteral("%1, %2 cores, %3, %4 %5")
        .arg(cpu)
        .arg(std::thread::hardware_concurrency())
        .arg(memory, QSysInfo::prettyProductName(), QSysInfo::kernelVersion());
}

void WriteResults(const QString& title, const QStringList& lines) {
    const QString path = QStringLiteral(NETCAIRN_BENCH_RESULTS);
    QFile file(path);
    QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                  : QStringLiteral("# Benchmark results\n");
    file.close();
    const QString section =
        QStringLiteral("## ") + title + QStringLiteral("\n\n") +
        QStringLiteral("Measured %1 on %2.\n\n")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")),
                 MachineDescription()) +
        lines.join(u'\n') + u'\n';
    const QRegularExpression old(QStringLiteral("## ") + QRegularExpression::escape(title) +
                                 QStringLiteral("\n[\\s\\S]*?(?=\n## |$)"));
    if (text.contains(old))
        text.replace(old, section);
    else
        text += u'\n' + section;
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    QTextStream(stdout) << section;
}
