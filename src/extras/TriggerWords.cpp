#include "TriggerWords.h"

#include "ui/Credits.h"

namespace nc {

const QStringList& FunWords() {
    static const QStringList words{Credits::Author.section(u' ', 0, 0).toLower(),
                                   Credits::Author.toLower(), QStringLiteral("tobs"),
                                   QStringLiteral("the wren"), QStringLiteral("about")};
    return words;
}

const QStringList& FunThanksWords() {
    static const QStringList words{
        QStringLiteral("inky"), // Ines
        QStringLiteral("pim"),  // Piet
        Credits::Program.toLower(),
        Credits::ProgramCreator.toLower(),
        Credits::CodeHelper.toLower(),
        (Credits::FatherFirstNames + u' ' + Credits::Author.section(u' ', 1)).toLower(),
        Credits::Company.toLower(),
    };
    return words;
}

bool MatchesTrigger(const QString& text, const QStringList& words) {
    return words.contains(text.toLower());
}

bool IsNameDialoguePhrase(const QString& text) {
    return text.toLower() == NameDialoguePhrase;
}

} // namespace nc
