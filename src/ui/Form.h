#pragma once

#include <QDialog>
#include <QString>

#include <functional>

namespace nc {

struct Platform;

/// Whether a failing procedure returns nothing ("Sub") or a result ("Function").
enum class ProcKind { Sub, Function };

/// Where a trapped procedure lives: its form's run-time name, its kind and its own name.
struct TrapSite {
    QString ObjectName;
    ProcKind Kind;
    const char* ProcedureName;
};

/// Runs \a body as one trapped procedure. A failure ends the body; it is reported once under
/// \a site through \a reportTo, or passed over silently when \a reportTo is null. Either way the
/// caller goes on as if the procedure had ended normally, and no exception leaves this function.
void RunTrapped(const Platform* reportTo, const TrapSite& site, const std::function<void()>& body);

/// Runs \a handler where the toolkit calls the program (a click, a change, a key): the end of
/// the program, which leaves every procedure at once, stops here and never reaches the toolkit.
void FromToolkit(const std::function<void()>& handler);

/// A loaded window of the program: it is on the list of open forms while it exists, and runs
/// its procedures under traps that report in its own name.
class Form : public QDialog {
public:
    Form(const Platform& platform, const char* name, QWidget* parent);
    ~Form() override;

protected:
    /// Runs \a body as the procedure \a name without a result, reporting its failures. Callers
    /// pass __func__ where the procedure is the enclosing function.
    void Sub(const char* name, const std::function<void()>& body) const;
    /// Runs \a body as the procedure \a name with a result, reporting its failures.
    void Function(const char* name, const std::function<void()>& body) const;
    /// Runs \a body so that any failure simply ends it, unreported.
    static void Silently(const std::function<void()>& body);
    /// Runs \a handler whenever \a sender emits \a signal.
    template <class Sender, class Signal>
    void Handle(Sender* sender, Signal signal, std::function<void()> handler) {
        connect(sender, signal, this, [handler] { FromToolkit(handler); });
    }

    void closeEvent(QCloseEvent* event) override;
    /// The form's reaction to being closed by any means; runs before it goes.
    virtual void Form_Unload() {}

    const Platform& p;
};

} // namespace nc
