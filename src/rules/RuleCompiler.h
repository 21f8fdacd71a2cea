#pragma once
// The rule compiler and decoder of the pulse I/O page. Rules are written in a restricted
// Russian ("Если" condition "то" actions ["иначе" actions]) with the words of the term
// dictionary; the meter runs the byte code they compile to. Both directions work on cp1251
// text byte by byte: their quirks decide which texts a meter accepts and how code read
// back from a meter reads, so they are kept as the meter's users know them.
#include <QByteArray>
#include <QStringList>

class TermDictionary;

// The control-code block the meter keeps: always this size, code from offset 0, the rest 0xFF.
constexpr int kControlCodeSize = 512;

// A block of kControlCodeSize bytes 0xFF, ready for Compile.
QByteArray EmptyControlCode();

class RuleCompiler {
public:
    explicit RuleCompiler(const TermDictionary& dictionary) : m_dictionary(dictionary) {}

    // Where the word that stopped the word scan stands in the text, for the editor to select
    // it: the first occurrence of the word, or start -1 when it does not occur as written
    // (a line break inside a word joins its halves).
    struct WordSpan {
        qsizetype start = -1;
        qsizetype length = 0;
    };

    // Compiles text into block (filled with 0xFF by the caller; its size is the capacity).
    // An empty text, or one that is just a line break, succeeds at once and touches neither
    // the block nor the messages. Otherwise messages is emptied and gets the progress lines
    // and, on failure, exactly one error line; on failure the block holds whatever was
    // written before the error and must not be sent.
    bool Compile(QByteArrayView text, QByteArray& block, QStringList& messages,
                 WordSpan* offendingWord = nullptr) const;

    // Turns a control-code block back into rule text. False when the block ends inside a
    // condition or right after its actions marker. Never reads past the block.
    bool Decode(QByteArrayView block, QByteArray& text) const;

private:
    bool ScanWords(QByteArrayView text, QByteArray& tokens, QByteArray& badWord) const;
    bool EncodeWord(const QByteArray& word, QByteArray& block, qsizetype& offset, QString& error) const;
    QByteArray DecodeTerm(quint8 type, quint16 operand) const;

    const TermDictionary& m_dictionary;
};
