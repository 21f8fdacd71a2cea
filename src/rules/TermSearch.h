#pragma once
// The search box beside the term dictionary: its short history and what a search finds.
#include <QString>
#include <QStringList>

class TermDictionary;

constexpr int kSearchHistorySize = 5;

// Adds text at the end of the history unless an entry already begins with it (letter case
// ignored); the oldest entry goes when there are more than kSearchHistorySize. True when
// the history changed.
bool AddToSearchHistory(QStringList& history, const QString& text);

// The dictionary row whose designation is text, letter case ignored; TermDictionary::kNone
// when there is none (always for an empty text).
int FindDesignation(const TermDictionary& dictionary, const QString& text);
