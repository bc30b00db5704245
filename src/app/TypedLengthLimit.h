#pragma once

#include <QValidator>

class QLineEdit;

namespace nc {

/// Limits what the user types into a line edit to a number of characters, the way a text box's
/// maximum length does: text set by the program is never cut, and a longer text can always be
/// shortened.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(QLineEdit* box, int maxTyped);
    State validate(QString& input, int& pos) const override;

private:
    int m_max;
    qsizetype m_current = 0; ///< length of the text before the edit being checked
};

} // namespace nc
