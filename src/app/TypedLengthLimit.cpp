#include "TypedLengthLimit.h"

#include <QLineEdit>

namespace nc {

TypedLengthLimit::TypedLengthLimit(QLineEdit* box, int maxTyped)
    : QValidator(box), m_max(maxTyped), m_current(box->text().size()) {
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_current = text.size(); });
    box->setValidator(this);
}

QValidator::State TypedLengthLimit::validate(QString& input, int&) const {
    // Text set by the program is taken whatever this answers; typing and pasting are refused
    // when they would make a text longer than the limit and longer than it already is.
    return input.size() <= qMax<qsizetype>(m_max, m_current) ? Acceptable : Invalid;
}

} // namespace nc
