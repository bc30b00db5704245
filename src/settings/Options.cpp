#include "Options.h"

#include "platform/ApplicationObject.h"
#include "platform/Failure.h"
#include "platform/SettingsStore.h"

#include <QByteArray>
#include <QDir>

#include <cmath>
#include <limits>

namespace nc {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

/// The number at the start of \a text, leading blanks skipped; 0 when the text does not begin
/// with a number. Decimal point and exponent are read the same in every locale.
double LeadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    QByteArray number;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number += static_cast<char>(text[i++].unicode());
    qsizetype digits = 0;
    for (; i < n && isDigit(text[i]); ++i, ++digits)
        number += static_cast<char>(text[i].unicode());
    if (i < n && text[i] == u'.') {
        number += '.';
        for (++i; i < n && isDigit(text[i]); ++i, ++digits)
            number += static_cast<char>(text[i].unicode());
    }
    if (digits == 0)
        return 0.0;

    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < n && QStringLiteral("eEdD").contains(text[i])) {
        qsizetype j = i + 1;
        QByteArray exponent("e");
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exponent += static_cast<char>(text[j++].unicode());
        if (j < n && isDigit(text[j])) {
            for (; j < n && isDigit(text[j]); ++j)
                exponent += static_cast<char>(text[j].unicode());
            number += exponent;
        }
    }

    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok)
        return value;
    // Out of the range of a double: only the direction matters to the callers.
    return number.startsWith('-') ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
}

} // namespace

quint8 FlagValue(const QString& text) {
    const double rounded = std::nearbyint(LeadingNumber(text)); // halves go to the even side
    if (!(rounded >= 0.0 && rounded <= 255.0))
        throw Failure::of(errOverflow);
    return static_cast<quint8>(rounded);
}

void ReadSettings(SettingsStore& store, const QString& app, SettingsRecord& record) {
    record.AutoCopy = FlagValue(store.GetSetting(app, OptionsSection, QStringLiteral("AutoCopy")));
    record.AutoSave = FlagValue(store.GetSetting(app, OptionsSection, QStringLiteral("AutoSave")));
    record.AutoSaveDir = store.GetSetting(app, OptionsSection, QStringLiteral("AutoSaveDir"));
}

void StoreOptions(SettingsStore& store, const QString& app, int autoCopy, int autoSave,
                  const QString& autoSaveDir) {
    // One write for the three, so that a failure leaves every option as it was: never a new
    // flag beside an old path.
    store.SaveSettings(app, OptionsSection,
                       {{QStringLiteral("AutoCopy"), QString::number(autoCopy)},
                        {QStringLiteral("AutoSave"), QString::number(autoSave)},
                        {QStringLiteral("AutoSaveDir"), autoSaveDir}});
}

bool HasPendingChanges(int autoCopyBox, int autoSaveBox, const QString& pathBox,
                       const SettingsRecord& stored) {
    return pathBox != stored.AutoSaveDir || autoSaveBox != stored.AutoSave ||
           autoCopyBox != stored.AutoCopy;
}

QString DefaultAddressFilePath(const ApplicationObject& app) {
    // Plain concatenation: a folder that already ends in the separator gives two in a row.
    const QString folder = app.PathIsUsersToWrite() ? app.Path() : app.DataPath();
    return folder + QDir::separator() + QStringLiteral("LocalIp.txt");
}

} // namespace nc
