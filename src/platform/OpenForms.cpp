#include "OpenForms.h"

namespace nc {

void OpenForms::add(QDialog* form) {
    if (!m_forms.contains(form))
        m_forms.append(form);
}

void OpenForms::remove(QDialog* form) {
    m_forms.removeAll(form);
}

} // namespace nc
