#include "RuleHighlighter.h"

#include "RuleTokens.h"

CRuleHighlighter::CRuleHighlighter(const TermDictionary& dictionary, QTextDocument* document)
    : QSyntaxHighlighter(document)
    , m_dictionary(dictionary)
{
}

QTextCharFormat CRuleHighlighter::KeywordFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(0x00, 0x00, 0xA0));
    format.setFontWeight(QFont::Bold);
    return format;
}

QTextCharFormat CRuleHighlighter::TermFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(0x00, 0x70, 0x30));
    return format;
}

QTextCharFormat CRuleHighlighter::NumberFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(0xA0, 0x40, 0x00));
    return format;
}

void CRuleHighlighter::highlightBlock(const QString& text)
{
    const QList<RuleToken> tokens = RuleTokens(text, m_dictionary);
    for (const RuleToken& token : tokens) {
        switch (token.kind) {
        case RuleTokenKind::Keyword:
            setFormat(int(token.start), int(token.length), KeywordFormat());
            break;
        case RuleTokenKind::Term:
            setFormat(int(token.start), int(token.length), TermFormat());
            break;
        case RuleTokenKind::Number:
            setFormat(int(token.start), int(token.length), NumberFormat());
            break;
        }
    }
}
