#pragma once

#include <QString>

namespace nc {

// The people, program and company the author thanks; the About dialog, the fun dialogs and the
// hidden words all name them, so they are written down once, here.
namespace Credits {

inline const QString Author = QStringLiteral("Tobias Wrenfield");
inline const QString Program = QStringLiteral("Quern");
inline const QString ProgramCreator = QStringLiteral("Mara Lindqvist");
inline const QString CodeHelper = QStringLiteral("Joaquín Ferreira");
inline const QString FatherFirstNames = QStringLiteral("Harald Emil Ludvig");
inline const QString Company = QStringLiteral("Quillmoor");
inline const QString Tester1 = QStringLiteral("Ines Okonkwo");
inline const QString Tester2 = QStringLiteral("Piet Mol");

/// The sentence naming the beta testers, in the About and the thank-you dialogs.
inline const QString BetaTesters = Tester1 + QStringLiteral(" and ") + Tester2 +
                                   QStringLiteral(" tested the beta (and alpha) versions for me.");

} // namespace Credits

} // namespace nc
