#include "modPublic.h"

#include "VersionText.h"
#include "platform/ApplicationObject.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/Platform.h"

#include <QStringList>

namespace nc {

QString kindText(ProcKind kind) {
    return kind == ProcKind::Sub ? QStringLiteral("Sub") : QStringLiteral("Function");
}

QString ErrorReportText(const QString& version, const QString& ObjectName,
                        const QString& ProcedureKind, const QString& ProcedureName,
                        const Failure& failure) {
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
        FeedbackAddress,
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString ErrorReportTitle(const QString& title, const QString& version) {
    return title + u' ' + version + QStringLiteral(" Error Message");
}

void ShowErrorReport(const Platform& p, const QString& ObjectName, const QString& ProcedureKind,
                     const QString& ProcedureName, const Failure& failure) {
    const QString version = VersionText(p.app);
    p.dialogs.MsgBox(ErrorReportText(version, ObjectName, ProcedureKind, ProcedureName, failure),
                     vbOKOnly | vbCritical, ErrorReportTitle(p.app.Title(), version));
}

} // namespace nc
