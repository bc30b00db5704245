#include "QtCommonDialog.h"

#include "platform/Failure.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace nc {

QStringList NameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        filters << (description.contains(u'(' + patterns + u')')
                        ? description
                        : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

QString QtCommonDialog::ShowSave(const SaveAsRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.DialogTitle, request.InitDir);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    // An "extension" that holds a separator is what is left of a path without a point; as a
    // suffix it would only produce a strange name.
    if (!request.DefaultExt.contains(QDir::separator()))
        dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw Failure(errCancel, classicDescription(errCancel), QStringLiteral("CommonDialog"));
    return dialog.selectedFiles().constFirst();
}

} // namespace nc
