#include "TypedLengthLimit.h"

#include <QLineEdit>

namespace nc {

TypedLengthLimit::TypedLengthLimit(QLineEdit* box, int maxTyped)
    : QValidator(box), m_max(maxTyped), m_current(box->text().size()) {
    connect(box, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_current = text.size(); });
    box->setValidator(this);
}

QValidator::State TypedLengthLimit::validate(QString& input, int& pos) const {
    const qsizetype allowed = qMax<qsizetype>(m_max, m_current);
    const qsizetype excess = input.size() - allowed;
    if (excess > 0) {
        // The characters just inserted end at the cursor: drop the ones that do not fit.
        const qsizetype from = qMax<qsizetype>(0, pos - excess);
        input.remove(from, qMin(excess, qsizetype(pos) - from));
        pos = static_cast<int>(from);
        if (input.size() > allowed)
            input.truncate(allowed);
    }
    return Acceptable;
}

} // namespace nc
