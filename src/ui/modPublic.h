#pragma once

#include <QString>

namespace nc {

class ApplicationObject;
class Failure;
struct Platform;

/// "major.minorrevision": 1.2.1 is written 1.21, and minor 10 with revision 0 gives 1.100.
QString VersionText(qint16 major, qint16 minor, qint16 revision);
/// The version text of the running program.
QString VersionText(const ApplicationObject& app);

/// The twelve lines of the runtime error report, joined by CR LF; the last names \a feedback.
QString ErrorReportText(const QString& version, const QString& ObjectName,
                        const QString& ProcedureKind, const QString& ProcedureName,
                        const Failure& failure, const QString& feedback);
/// The report box's title: title, version and " Error Message".
QString ErrorReportTitle(const QString& title, const QString& version);

/// Shows the runtime error report for \a failure in a modal box and waits until it is closed.
void ShowErrorReport(const Platform& p, const QString& ObjectName, const QString& ProcedureKind,
                     const QString& ProcedureName, const Failure& failure);

} // namespace nc
