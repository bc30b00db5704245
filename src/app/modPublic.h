#pragma once

#include <QString>

namespace nc {

class Failure;
struct Platform;

/// The product homepage; link captions and redirect pages start with it.
inline const QString HomepageAddress = QStringLiteral("http://netcairn.example/");
/// The maintainer's mail address, named at the end of every error report.
inline const QString FeedbackAddress = QStringLiteral("tw@nc.example");

/// Whether a failing procedure returns nothing ("Sub") or a result ("Function").
enum class ProcKind { Sub, Function };
QString kindText(ProcKind kind);

/// The twelve lines of the runtime error report, joined by CR LF.
QString ErrorReportText(const QString& version, const QString& ObjectName,
                        const QString& ProcedureKind, const QString& ProcedureName,
                        const Failure& failure);
/// The report box's title: title, version and " Error Message".
QString ErrorReportTitle(const QString& title, const QString& version);

/// Shows the runtime error report for \a failure in a modal box and waits until it is closed.
void ShowErrorReport(const Platform& p, const QString& ObjectName, const QString& ProcedureKind,
                     const QString& ProcedureName, const Failure& failure);

} // namespace nc
