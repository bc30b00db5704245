#include "Trap.h"

#include "platform/Failure.h"

namespace nc {

namespace {

void report(const Platform* reportTo, const TrapSite& site, const Failure& failure) {
    if (!reportTo)
        return;
    try {
        ShowErrorReport(*reportTo, site.ObjectName, kindText(site.Kind),
                        QString::fromLatin1(site.ProcedureName), failure);
    } catch (...) {
        // A report that cannot be shown must not take the program down with it: nothing is
        // stored by the report, so dropping it loses no data.
    }
}

} // namespace

void RunTrapped(const Platform* reportTo, const TrapSite& site, const std::function<void()>& body) {
    try {
        body();
    } catch (const Failure& failure) {
        report(reportTo, site, failure);
    } catch (const std::exception& e) {
        report(reportTo, site, Failure::from(e));
    } catch (...) {
        report(reportTo, site, Failure::of(errInternal));
    }
}

} // namespace nc
