#pragma once
// Colours the rule editor as the user types: keywords, dictionary terms and numbers.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class TermDictionary;

class CRuleHighlighter final : public QSyntaxHighlighter {
public:
    CRuleHighlighter(const TermDictionary& dictionary, QTextDocument* document);

    // The format a token of each kind gets (tests and the screenshots look at them).
    static QTextCharFormat KeywordFormat();
    static QTextCharFormat TermFormat();
    static QTextCharFormat NumberFormat();

protected:
    void highlightBlock(const QString& text) override;

private:
    const TermDictionary& m_dictionary;
};
