#pragma once

#include <QList>

class QDialog;

namespace nc {

/// The program's loaded forms, in the order they were loaded.
class OpenForms {
public:
    /// Adds a form that has just been loaded.
    void add(QDialog* form);
    /// Removes a form that is being unloaded.
    void remove(QDialog* form);
    /// Number of loaded forms.
    int count() const { return static_cast<int>(m_forms.size()); }
    /// The loaded form at a zero-based index.
    QDialog* at(int index) const { return m_forms.at(index); }

private:
    QList<QDialog*> m_forms;
};

} // namespace nc
