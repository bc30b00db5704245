#include "modPublic.h"

#include "platform/ApplicationObject.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/Platform.h"

#include <QStringList>

namespace nc {

QString VersionText(qint16 major, qint16 minor, qint16 revision) {
    return QString::number(major) + u'.' + QString::number(minor) + QString::number(revision);
}

QString VersionText(const ApplicationObject& app) {
    return VersionText(app.Major(), app.Minor(), app.Revision());
}

QString ErrorReportText(const QString& version, const QString& ObjectName,
                        const QString& ProcedureKind, const QString& ProcedureName,
                        const Failure& failure, const QString& feedback) {
    const QStringList lines{
        QStringLiteral("A runtime error occured!"),
        QString(),
        QStringLiteral("Version:   ") + version,
        QStringLiteral("Initial Error-Tracking Code:   ") + ObjectName + u'.' + ProcedureKind +
            u'.' + ProcedureName,
        QStringLiteral("Runtime Error Code:   ") + QString::number(failure.Number),
        QStringLiteral("Runtime Error Description:   ") + failure.Description,
        QStringLiteral("Runtime Error Source:   ") + failure.Source,
        QStringLiteral("Runtime Error Help Context:   ") + QString::number(failure.HelpContext),
        QString(),
        QStringLiteral("If possible, mail a bug report, including the information provided above "
                       "to the following mail-address: "),
        QString(),
        feedback,
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString ErrorReportTitle(const QString& title, const QString& version) {
    return title + u' ' + version + QStringLiteral(" Error Message");
}

void ShowErrorReport(const Platform& p, const QString& ObjectName, const QString& ProcedureKind,
                     const QString& ProcedureName, const Failure& failure) {
    const ApplicationObject& app = p.applicationObject;
    const QString version = VersionText(app);
    p.dialogs.MsgBox(ErrorReportText(version, ObjectName, ProcedureKind, ProcedureName, failure,
                                     app.FeedbackAddress()),
                     vbOKOnly | vbCritical, ErrorReportTitle(app.Title(), version));
}

} // namespace nc
