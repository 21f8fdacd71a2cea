#pragma once
// What the rule editor colours as the user types: the keywords of a rule, the words of the
// term dictionary and numbers. Words are cut where the compiler's word scan cuts them
// (blanks, signs, commas, full stops), so that what is coloured is what the compiler sees.
#include <QList>
#include <QStringView>

class TermDictionary;

enum class RuleTokenKind { Keyword, Term, Number };

struct RuleToken {
    qsizetype start = 0;
    qsizetype length = 0;
    RuleTokenKind kind = RuleTokenKind::Term;

    bool operator==(const RuleToken&) const = default;
};

// The coloured words of one line, left to right. Words the dictionary does not know get
// no token: the compiler names them.
QList<RuleToken> RuleTokens(QStringView line, const TermDictionary& dictionary);
