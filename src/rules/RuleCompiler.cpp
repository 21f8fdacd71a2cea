#include "RuleCompiler.h"

#include "common/Cp1251.h"
#include "rules/RulesMessages.h"
#include "rules/TermDictionary.h"

#include <cmath>
#include <limits>

namespace {

// Markers of the control code: Type 0xFF with these operands.
constexpr quint8 kMarkerType = 0xFF;
constexpr quint16 kRuleStart = 0xFFFE;
constexpr quint16 kActions = 0xFFFD;
constexpr quint16 kAlternative = 0xFFFC;
constexpr quint16 kEnd = 0xFFFF;

constexpr quint8 kNumberType = 3;
constexpr quint8 kSignType = 1;
constexpr quint16 kUnaryMinus = 11;

// The sign stack of the condition reordering has room for this many pending signs.
constexpr int kMaxPendingSigns = 20;

struct Keywords {
    QByteArray ifWord = cp1251::Encode(u"Если");
    QByteArray thenWord = cp1251::Encode(u"то");
    QByteArray elseWord = cp1251::Encode(u"иначе");
    QByteArray notWord = cp1251::Encode(u"не");
    QByteArray andWord = cp1251::Encode(u"и");
    QByteArray orWord = cp1251::Encode(u"или");
    QByteArray thenText = cp1251::Encode(u", то");
    QByteArray elseText = cp1251::Encode(u", иначе");
    QByteArray notText = cp1251::Encode(u"не ");
    QByteArray andText = cp1251::Encode(u" и ");
    QByteArray orText = cp1251::Encode(u" или ");
};

const Keywords& Words()
{
    static const Keywords words;
    return words;
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsNumberWord(QByteArrayView word)
{
    for (char ch : word) {
        if (!IsDigit(ch) && ch != '.')
            return false;
    }
    return true;
}

// The characters the condition reordering treats as signs.
bool IsReorderSign(char ch)
{
    switch (ch) {
    case '!': case '%': case '&': case '(': case ')': case '*': case '+': case '-':
    case '/': case '<': case '=': case '>': case '^': case '_': case '|': case '~':
        return true;
    default:
        return false;
    }
}

// Smaller binds tighter; every sign has a rank of its own, so "X - Y + Z" groups as
// X - (Y + Z). Meters in the field run code built this way.
int Rank(char sign)
{
    switch (sign) {
    case '!': return 0;
    case '~': return 1;
    case '_': return 2;
    case '*': return 3;
    case '/': return 4;
    case '%': return 5;
    case '+': return 6;
    case '-': return 7;
    case '<': return 8;
    case '>': return 9;
    case '=': return 10;
    case '&': return 11;
    case '^': return 12;
    case '|': return 13;
    case ':': return 14;
    case ';': return 15;
    default: return 16;
    }
}

// Whether the pending sign top leaves the stack when incoming arrives (0: nothing arrives).
bool Pops(char top, char incoming)
{
    if (incoming == 0)
        return false;
    if (incoming == ')')
        return top != '(';
    if (incoming == '(' && top != ')')
        return false;
    if (top == '(')
        return false;
    return Rank(incoming) >= Rank(top);
}

// Operator-precedence reordering of one condition, character by character; everything that
// is not a sign (blanks, letters, digits, ":" and ";") passes straight through.
bool AppendPostfix(QByteArrayView condition, QByteArray& out)
{
    char stack[kMaxPendingSigns];
    int depth = 0;
    for (char ch : condition) {
        if (!IsReorderSign(ch)) {
            out += ch;
            continue;
        }
        while (depth > 0 && Pops(stack[depth - 1], ch)) {
            out += ' ';
            out += stack[--depth];
            out += ' ';
        }
        if (depth > 0 && stack[depth - 1] == '(' && ch == ')') {
            --depth;
        } else {
            if (depth == kMaxPendingSigns)
                return false;
            stack[depth++] = ch;
        }
    }
    while (depth > 0) {
        const char top = stack[--depth];
        if (top != '(' && top != ')') {
            out += top;
            out += ' ';
        }
    }
    return true;
}

// Splits the token stream into rules: " ?" condition-in-postfix " @" actions
// [" #" alternative actions] per rule, then " $". Keywords are found by plain search, so a
// word that merely contains "то", "иначе" or "Если" counts as that keyword.
bool SplitRules(const QByteArray& tokens, QByteArray& rules, QString& error)
{
    const Keywords& kw = Words();
    const qsizetype length = tokens.size();
    qsizetype from = 0;
    for (bool first = true;; first = false) {
        const qsizetype ruleStart = tokens.indexOf(kw.ifWord, from);
        if (ruleStart < 0 || (first && ruleStart != 0)) {
            error = msg::kCompileNoIf;
            return false;
        }
        const qsizetype conditionStart = ruleStart + kw.ifWord.size();
        const qsizetype then = tokens.indexOf(kw.thenWord, conditionStart);
        if (then < 0) {
            error = msg::kCompileIfWithoutThen;
            return false;
        }
        if (conditionStart >= then) {
            error = msg::kCompileNoIf;
            return false;
        }
        rules += " ?";
        if (!AppendPostfix(QByteArrayView(tokens).sliced(conditionStart, then - conditionStart), rules)) {
            error = msg::kCompileTooComplex;
            return false;
        }

        const qsizetype actionsStart = then + kw.thenWord.size();
        const qsizetype otherwise = tokens.indexOf(kw.elseWord, actionsStart);
        const qsizetype nextRule = tokens.indexOf(kw.ifWord, actionsStart);
        const qsizetype actionsEnd = otherwise >= 0 ? otherwise : nextRule >= 0 ? nextRule : length;
        if (actionsStart >= actionsEnd) {
            error = msg::kCompileNothingAfterThen;
            return false;
        }
        rules += " @";
        rules += QByteArrayView(tokens).sliced(actionsStart, actionsEnd - actionsStart);

        qsizetype ruleEnd = actionsEnd;
        if (otherwise >= 0) {
            const qsizetype elseStart = otherwise + kw.elseWord.size();
            qsizetype elseEnd = tokens.indexOf(kw.ifWord, elseStart);
            if (elseEnd < 0)
                elseEnd = length;
            if (elseStart >= elseEnd) {
                error = msg::kCompileNothingAfterElse;
                return false;
            }
            rules += " #";
            rules += QByteArrayView(tokens).sliced(elseStart, elseEnd - elseStart);
            ruleEnd = elseEnd;
        }
        if (ruleEnd == length) {
            rules += " $";
            return true;
        }
        from = ruleEnd;
    }
}

// A number word in hundredths, truncated toward zero. Read exactly in decimal (0.29 gives
// 29, not the 28 a binary double would), up to the first character that cannot continue a
// number; values beyond the i32 range saturate.
qint32 HundredthsOf(QByteArrayView word)
{
    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    qint64 value = 0;
    qsizetype i = 0;
    for (; i < word.size() && IsDigit(word[i]); ++i)
        value = std::min(value * 10 + (word[i] - '0'), kMax);
    value *= 100;
    if (i < word.size() && word[i] == '.') {
        ++i;
        if (i < word.size() && IsDigit(word[i]))
            value += 10 * (word[i++] - '0');
        if (i < word.size() && IsDigit(word[i]))
            value += word[i] - '0';
    }
    return qint32(std::min(value, kMax));
}

void Put(QByteArray& block, qsizetype& offset, quint8 type, quint16 operand)
{
    block[offset++] = char(type);
    block[offset++] = char(operand & 0xFF);
    block[offset++] = char(operand >> 8);
}

// One decoded instruction: Type, then a u16 operand or, for numbers, an i32.
struct Instruction {
    quint8 type = 0;
    quint16 operand = 0;
    qint32 number = 0;
    qsizetype next = 0;

    bool Is(quint16 marker) const { return type == kMarkerType && operand == marker; }
};

// False at the block end, including an instruction that would reach past it.
bool ReadInstruction(QByteArrayView block, qsizetype offset, Instruction& in)
{
    if (offset >= block.size())
        return false;
    const auto byte = [&](qsizetype i) { return quint32(quint8(block[i])); };
    in.type = quint8(block[offset]);
    const qsizetype size = in.type == kNumberType ? 5 : 3;
    if (size > block.size() - offset)
        return false;
    if (in.type == kNumberType) {
        in.number = qint32(byte(offset + 1) | byte(offset + 2) << 8 | byte(offset + 3) << 16 | byte(offset + 4) << 24);
        in.operand = 0;
    } else {
        in.operand = quint16(byte(offset + 1) | byte(offset + 2) << 8);
    }
    in.next = offset + size;
    return true;
}

// "%.2f" of a stored condition number: the value / 100 in single precision, printed
// without the process locale (a Russian locale would print a decimal comma).
QByteArray ConditionNumberText(qint32 value)
{
    const double exact = double(float(value) / 100.0f);
    // A float times 100 is exact in a double; round half to even like printf.
    const double hundredths = std::nearbyint(exact * 100.0);
    const qint64 magnitude = qint64(std::fabs(hundredths));
    QByteArray text = exact < 0 ? "-" : "";
    text += QByteArray::number(magnitude / 100);
    text += '.';
    text += char('0' + magnitude % 100 / 10);
    text += char('0' + magnitude % 10);
    return text;
}

bool IsTwoOperandSign(char ch)
{
    switch (ch) {
    case '%': case '&': case '*': case '+': case '-': case '/': case ':': case ';':
    case '<': case '=': case '>': case '^': case '|':
        return true;
    default:
        return false;
    }
}

// Rebuilds the infix text of a condition from its postfix words. Brackets go around a left
// operand whose last sign binds no tighter than the current one; the right operand never
// gets any, which is how read-back code has always looked. Any shortage of operands gives
// an empty condition.
QByteArray Infix(QByteArrayView postfix)
{
    if (postfix.size() < 2)
        return {};
    const Keywords& kw = Words();
    QList<QByteArray> stack;
    char lastSign = 0;
    qsizetype i = 1;
    while (i < postfix.size()) {
        const char ch = postfix[i];
        if (ch == ' ') {
            ++i;
        } else if (ch == '!' || ch == '_' || ch == '~') {
            if (stack.isEmpty())
                return {};
            const QByteArray prefix = ch == '!' ? kw.notText : ch == '_' ? QByteArray("-") : QByteArray("~");
            stack.last().prepend(prefix);
            ++i;
        } else if (IsTwoOperandSign(ch)) {
            if (stack.size() < 2)
                return {};
            const QByteArray right = stack.takeLast();
            if (lastSign != 0 && Pops(ch, lastSign))
                stack.last() = '(' + stack.last() + ')';
            QByteArray& left = stack.last();
            if (ch == ':')
                left += kw.andText;
            else if (ch == ';')
                left += kw.orText;
            else
                left += QByteArray(" ") + ch + ' ';
            left += right;
            lastSign = ch;
            ++i;
        } else {
            qsizetype end = postfix.indexOf(' ', i);
            if (end < 0)
                end = postfix.size();
            stack.append(postfix.sliced(i, end - i).toByteArray());
            i = end;
        }
    }
    // A condition of blanks only (terms the dictionary does not know) leaves nothing.
    if (stack.isEmpty())
        return {};
    return ' ' + stack.last();
}

} // namespace

QByteArray EmptyControlCode()
{
    return QByteArray(kControlCodeSize, char(0xFF));
}

bool RuleCompiler::Compile(QByteArrayView text, QByteArray& block, QStringList& messages,
                           WordSpan* offendingWord) const
{
    if (text.isEmpty() || text == "\n")
        return true;

    messages.clear();
    messages << msg::kCompileAnalysing;
    QByteArray tokens;
    QByteArray badWord;
    if (!ScanWords(text, tokens, badWord)) {
        if (offendingWord) {
            offendingWord->start = text.indexOf(badWord);
            offendingWord->length = offendingWord->start < 0 ? 0 : badWord.size();
        }
        messages << msg::CompileUnknownWord(cp1251::Decode(badWord));
        return false;
    }

    QByteArray rules;
    QString error;
    if (!SplitRules(tokens, rules, error)) {
        messages << error;
        return false;
    }

    messages << msg::kCompileGenerating;
    // Each blank ends a word; the closing " $" has none after it and is not written: the
    // 0xFF filling already ends the code with FF FF FF.
    qsizetype offset = 0;
    QByteArray word;
    for (char ch : std::as_const(rules)) {
        if (ch != ' ') {
            word += ch;
            continue;
        }
        if (word.isEmpty())
            continue;
        if (!EncodeWord(word, block, offset, error)) {
            messages << error;
            return false;
        }
        word.clear();
    }
    messages << msg::kCompileDone;
    return true;
}

// The word scan: splits the text into words at blanks, signs, commas and full stops, checks
// every word against the dictionary and writes the token stream with "не", "и", "или"
// replaced by "!", ":", ";". A minus in operator context (at the start, or right after one
// of & ( * + / < = > ^ |) becomes the unary "_".
bool RuleCompiler::ScanWords(QByteArrayView text, QByteArray& tokens, QByteArray& badWord) const
{
    const Keywords& kw = Words();
    QByteArray word;
    bool operatorContext = true;

    const auto endWord = [&](char ch) {
        if (!word.isEmpty() && !IsNumberWord(word)) {
            if (m_dictionary.FindTerm(word) == TermDictionary::kNone) {
                badWord = word;
                return false;
            }
            if (word == kw.notWord)
                word = "!";
            else if (word == kw.andWord)
                word = ":";
            else if (word == kw.orWord)
                word = ";";
        }
        tokens += word;
        if (ch != '.' && ch != ',')
            tokens += ch;
        tokens += ' ';
        word.clear();
        return true;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        char ch = text[i];
        bool ends = true;
        switch (ch) {
        case '\r':
        case '\n':
            // Dropped without ending the word: a line break between two words joins them.
            operatorContext = false;
            ends = false;
            break;
        case ' ':
            break;
        case '&': case '(': case '*': case '+': case '/': case '<': case '=': case '>':
        case '^': case '|':
            operatorContext = true;
            break;
        case ')':
        case ',':
            operatorContext = false;
            break;
        case '-':
            if (operatorContext)
                ch = '_';
            operatorContext = false;
            break;
        case '.':
            operatorContext = false;
            if (!word.isEmpty() && IsDigit(word.back()) && i + 1 < text.size() && IsDigit(text[i + 1])) {
                word += '.';
                ends = false;
            }
            break;
        default:
            operatorContext = false;
            word += ch;
            ends = false;
            break;
        }
        if (ends && !endWord(ch))
            return false;
    }
    // Only a separator ends a word: one left over at the end is refused even if it is known.
    if (!word.isEmpty()) {
        badWord = word;
        return false;
    }
    return true;
}

bool RuleCompiler::EncodeWord(const QByteArray& word, QByteArray& block, qsizetype& offset,
                              QString& error) const
{
    const Keywords& kw = Words();
    quint8 type = 0;
    quint16 operand = 0;
    bool isNumber = false;
    const auto lookUp = [&](const QByteArray& designation, bool signOnly) {
        const int index = m_dictionary.FindTerm(designation);
        if (index == TermDictionary::kNone) {
            error = msg::CompileUnknownCode(cp1251::Decode(designation));
            return false;
        }
        const quint32 key = m_dictionary.KeyOf(index);
        type = TermDictionary::TypeOf(key);
        operand = signOnly ? TermDictionary::Value2Of(key) : quint16(key >> 8);
        return true;
    };

    if (word.size() == 1 && !IsDigit(word[0])) {
        const char ch = word[0];
        switch (ch) {
        case '?': type = kMarkerType; operand = kRuleStart; break;
        case '@': type = kMarkerType; operand = kActions; break;
        case '#': type = kMarkerType; operand = kAlternative; break;
        case '$': type = kMarkerType; operand = kEnd; break;
        case '_': type = kSignType; operand = kUnaryMinus; break;
        case '!': if (!lookUp(kw.notWord, true)) return false; break;
        case ':': if (!lookUp(kw.andWord, true)) return false; break;
        case ';': if (!lookUp(kw.orWord, true)) return false; break;
        case '&': case '*': case '+': case '-': case '/': case '<': case '=': case '>':
        case '^': case '|': case '~':
            if (!lookUp(word, true))
                return false;
            break;
        default:
            if (!lookUp(word, false))
                return false;
            break;
        }
    } else if (IsNumberWord(word)) {
        if (!lookUp(QByteArray("1"), false))
            return false;
        isNumber = true;
    } else {
        // A leading 1 or 2 is not part of the term: "2UA" is written as UA.
        const bool dropDigit = word[0] == '1' || word[0] == '2';
        if (!lookUp(dropDigit ? word.mid(1) : word, false))
            return false;
    }

    const qsizetype size = isNumber ? 5 : 3;
    if (size > block.size() - offset) {
        error = msg::kCompileTooLong;
        return false;
    }
    if (isNumber) {
        const quint32 value = quint32(HundredthsOf(word));
        block[offset++] = char(type);
        for (int shift = 0; shift < 32; shift += 8)
            block[offset++] = char(value >> shift);
    } else {
        Put(block, offset, type, operand);
    }
    return true;
}

QByteArray RuleCompiler::DecodeTerm(quint8 type, quint16 operand) const
{
    return m_dictionary.DesignationOf(m_dictionary.FindByCode(type, operand));
}

bool RuleCompiler::Decode(QByteArrayView block, QByteArray& text) const
{
    const Keywords& kw = Words();
    text.clear();
    Instruction in;
    if (!ReadInstruction(block, 0, in) || !in.Is(kRuleStart))
        return true;

    qsizetype offset = in.next;
    for (;;) {
        text += kw.ifWord;
        QByteArray postfix;
        bool blockEnded = false;
        for (;;) {
            if (!ReadInstruction(block, offset, in)) {
                blockEnded = true;
                break;
            }
            offset = in.next;
            if (in.type == kNumberType) {
                postfix += ' ' + ConditionNumberText(in.number);
            } else if (in.type == kMarkerType) {
                if (in.operand == kActions)
                    break;
            } else {
                // An action on an output stands in a condition for the output itself.
                QByteArray designation = DecodeTerm(in.type == 7 ? 6 : in.type, in.operand);
                if (in.type == kSignType && in.operand == kUnaryMinus)
                    designation = "_";
                if (designation == kw.orWord)
                    postfix += " ;";
                else if (designation == kw.andWord)
                    postfix += " :";
                else if (designation == kw.notWord)
                    postfix += " !";
                else
                    postfix += ' ' + designation;
            }
        }
        text += Infix(postfix);
        text += kw.thenText;
        if (blockEnded || !ReadInstruction(block, offset, in))
            return false;

        bool anotherRule = false;
        for (;;) {
            offset = in.next;
            if (in.type == kNumberType) {
                text += ' ' + QByteArray::number(in.number / 100);
            } else if (in.type == kMarkerType) {
                if (in.operand == kEnd)
                    break;
                if (in.operand == kRuleStart) {
                    anotherRule = true;
                    break;
                }
                if (in.operand == kAlternative)
                    text += kw.elseText;
            } else {
                text += ' ' + DecodeTerm(in.type, in.operand);
            }
            if (!ReadInstruction(block, offset, in))
                break;
        }
        text += ".\n";
        if (!anotherRule)
            return true;
    }
}
