#include "Form.h"

#include "modPublic.h"
#include "platform/Failure.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"

#include <QCloseEvent>

namespace nc {

namespace {

void report(const Platform* reportTo, const TrapSite& site, const Failure& failure) {
    if (!reportTo)
        return;
    try {
        ShowErrorReport(*reportTo, site.ObjectName,
                        site.Kind == ProcKind::Sub ? QStringLiteral("Sub")
                                                   : QStringLiteral("Function"),
                        QString::fromLatin1(site.ProcedureName), failure);
    } catch (const ProgramEnding&) {
        throw;
    } catch (...) {
        // A report that cannot be shown must not take the program down with it: nothing is
        // stored by the report, so dropping it loses no data.
    }
}

} // namespace

void RunTrapped(const Platform* reportTo, const TrapSite& site, const std::function<void()>& body) {
    try {
        body();
    } catch (const ProgramEnding&) {
        throw;
    } catch (const Failure& failure) {
        report(reportTo, site, failure);
    } catch (const std::exception& e) {
        report(reportTo, site, Failure::from(e));
    } catch (...) {
        report(reportTo, site, Failure::of(errInternal));
    }
}

void FromToolkit(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const ProgramEnding&) {
        // Every procedure on the way has been left; the toolkit's own loops are ending.
    }
}

Form::Form(const Platform& platform, const char* name, QWidget* parent)
    : QDialog(parent), p(platform) {
    setObjectName(QString::fromLatin1(name));
    p.openForms.add(this);
}

Form::~Form() {
    p.openForms.remove(this);
}

void Form::Sub(const char* name, const std::function<void()>& body) const {
    RunTrapped(&p, {objectName(), ProcKind::Sub, name}, body);
}

void Form::Function(const char* name, const std::function<void()>& body) const {
    RunTrapped(&p, {objectName(), ProcKind::Function, name}, body);
}

void Form::Silently(const std::function<void()>& body) {
    RunTrapped(nullptr, {}, body);
}

void Form::closeEvent(QCloseEvent* event) {
    // Closing is never refused; Qt itself keeps a close already under way from starting again.
    FromToolkit([this] { Form_Unload(); });
    p.openForms.remove(this);
    event->accept();
}

} // namespace nc
