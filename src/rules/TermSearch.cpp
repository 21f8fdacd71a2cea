#include "TermSearch.h"

#include "TermDictionary.h"
#include "common/Cp1251.h"

bool AddToSearchHistory(QStringList& history, const QString& text)
{
    for (const QString& entry : std::as_const(history)) {
        if (entry.startsWith(text, Qt::CaseInsensitive))
            return false;
    }
    history.append(text);
    while (history.size() > kSearchHistorySize)
        history.removeFirst();
    return true;
}

int FindDesignation(const TermDictionary& dictionary, const QString& text)
{
    if (text.isEmpty())
        return TermDictionary::kNone;
    return dictionary.FindTerm(cp1251::Encode(text));
}
