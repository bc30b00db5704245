// The reader of stored flags: any text, no crash, and the reader's own promises kept.

#include "platform/Failure.h"
#include "settings/SettingsNumber.h"

#include <QString>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double value = nc::LeadingNumber(text);
    if (std::isnan(value))
        abort();
    // Leading blanks are skipped.
    if (nc::LeadingNumber(QStringLiteral(" \t ") + text) != value)
        abort();
    // Text that does not begin with a number reads as 0.
    qsizetype first = 0;
    while (first < text.size() && QStringLiteral(" \t\r\n").contains(text[first]))
        ++first;
    if ((first == text.size() || !QStringLiteral("+-.0123456789").contains(text[first])) &&
        value != 0.0)
        abort();
    // The flag is the number rounded half to even, or an overflow outside 0 to 255.
    const double rounded = std::nearbyint(value);
    try {
        if (nc::FlagValue(text) != rounded)
            abort();
    } catch (const nc::Failure& failure) {
        if (failure.Number != nc::errOverflow || (rounded >= 0.0 && rounded <= 255.0))
            abort();
    }
    return 0;
}
