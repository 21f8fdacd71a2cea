#include "RuleTokens.h"

#include "TermDictionary.h"
#include "common/Cp1251.h"

namespace {

bool EndsWord(QChar ch)
{
    switch (ch.unicode()) {
    case ' ': case '\t': case '&': case '(': case ')': case '*': case '+': case '-': case '/':
    case '<': case '=': case '>': case '^': case '|': case ',': case '.':
        return true;
    default:
        return false;
    }
}

bool IsKeyword(QStringView word)
{
    // Written exactly so: the rule splitting does not ignore letter case.
    static const QStringView keywords[] = {u"Если", u"то", u"иначе", u"не", u"и", u"или"};
    for (QStringView keyword : keywords) {
        if (word == keyword)
            return true;
    }
    return false;
}

bool IsDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }

} // namespace

QList<RuleToken> RuleTokens(QStringView line, const TermDictionary& dictionary)
{
    QList<RuleToken> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        if (EndsWord(line[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        qsizetype end = i;
        while (end < line.size()) {
            // A full stop between digits belongs to the number.
            if (line[end] == QLatin1Char('.') && end > start && IsDigit(line[end - 1]) && end + 1 < line.size()
                && IsDigit(line[end + 1])) {
                ++end;
                continue;
            }
            if (EndsWord(line[end]))
                break;
            ++end;
        }
        const QStringView word = line.sliced(start, end - start);
        bool number = IsDigit(word.front());
        for (QChar ch : word)
            number = number && (IsDigit(ch) || ch == QLatin1Char('.'));
        if (IsKeyword(word))
            tokens.append({start, word.size(), RuleTokenKind::Keyword});
        else if (number)
            tokens.append({start, word.size(), RuleTokenKind::Number});
        else if (dictionary.FindTerm(cp1251::Encode(word)) != TermDictionary::kNone)
            tokens.append({start, word.size(), RuleTokenKind::Term});
        i = end;
    }
    return tokens;
}
