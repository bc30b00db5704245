#include "Form.h"

#include "platform/OpenForms.h"
#include "platform/Platform.h"

#include <QCloseEvent>

namespace nc {

Form::Form(const Platform& platform, const char* name, QWidget* parent)
    : QDialog(parent), p(platform) {
    setObjectName(QString::fromLatin1(name));
    p.forms.add(this);
}

Form::~Form() {
    p.forms.remove(this);
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
    Form_Unload();
    p.forms.remove(this);
    event->accept();
}

} // namespace nc
