#pragma once

#include <QString>
#include <QStringList>

namespace nc {

/// Words that open the fun dialog about the author, in lower case.
const QStringList& FunWords();
/// Words that open the thank-you dialog, in lower case; none is longer than 28 characters.
const QStringList& FunThanksWords();
/// The phrase in the path box that starts the name dialogue.
inline const QString NameDialoguePhrase = QStringLiteral("netcairn rules!");

/// Whether \a text, folded to lower case (accented capitals too), equals one of \a words
/// exactly: no trimming, the whole text must match.
bool MatchesTrigger(const QString& text, const QStringList& words);
/// Whether \a text is the name dialogue's phrase in any letter case.
bool IsNameDialoguePhrase(const QString& text);

} // namespace nc
