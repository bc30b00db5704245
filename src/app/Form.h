#pragma once

#include "Trap.h"

#include <QDialog>

#include <functional>

namespace nc {

struct Platform;

/// A loaded window of the program: it is on the list of open forms while it exists, and runs
/// its procedures under traps that report in its own name.
class Form : public QDialog {
public:
    Form(const Platform& platform, const char* name, QWidget* parent);
    ~Form() override;

protected:
    /// Runs \a body as the procedure \a name without a result, reporting its failures.
    void Sub(const char* name, const std::function<void()>& body) const;
    /// Runs \a body as the procedure \a name with a result, reporting its failures.
    void Function(const char* name, const std::function<void()>& body) const;
    /// Runs \a body so that any failure simply ends it, unreported.
    static void Silently(const std::function<void()>& body);

    void closeEvent(QCloseEvent* event) override;
    /// The form's reaction to being closed by any means; runs before it goes.
    virtual void Form_Unload() {}

    const Platform& p;
};

} // namespace nc
