#pragma once

#include <QString>

namespace nc {

/// The number at the start of \a text, leading blanks skipped; 0 when the text does not begin
/// with a number. Decimal point and exponent are read the same in every locale.
double LeadingNumber(const QString& text);

/// A stored flag as an unsigned 8-bit value: the leading number rounded half to even.
/// Fails with Overflow when that falls outside 0 to 255.
quint8 FlagValue(const QString& text);

} // namespace nc
