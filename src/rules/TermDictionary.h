#pragma once
// The term dictionary of the pulse I/O rules: every word a rule may use, with the code the
// meter knows it by. It is read once from the database Data/pke.dat (table Alphavit) and
// from then on the in-memory list is the dictionary.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class UserPrompt;

class TermDictionary {
public:
    static constexpr int kNone = -1;

    // One row of Alphavit. Texts are cp1251 bytes, like every text of the rules.
    struct Term {
        QByteArray designation;  // [Value1]: the word as written in rules
        QByteArray name;         // [Name]: full name shown beside it
        quint32 key = 0;         // [Type] | [Value2] << 8 | [Faza] << 16
    };

    // Replaces the entries with the rows of "SELECT * FROM Alphavit ORDER BY Number ASC"
    // read from the SQLite file at path. A missing file, or one that is not a database, is
    // reported as "Не удалось найти файл %s." and leaves the dictionary empty; an error
    // while reading is reported with the database's own text and keeps the rows read so far.
    // Returns false when anything was reported.
    bool Load(const QString& path, UserPrompt& prompt);

    // Where the shipped dictionary is: beside the executable, in the build tree's Data
    // folder, or in the installed data folder; the first that exists. When none does, the
    // path beside the executable, so that the message names the expected place.
    static QString DefaultPath();
    static QStringList SearchPaths();

    void Append(const QByteArray& designation, const QByteArray& name,
                quint8 type, quint8 value2, quint8 faza);
    void Clear() { m_terms.clear(); m_folded.clear(); }

    int size() const { return int(m_terms.size()); }
    bool isEmpty() const { return m_terms.isEmpty(); }
    const Term& at(int index) const { return m_terms.at(index); }

    // First entry whose designation equals word, letter case ignored (Latin and Cyrillic).
    int FindTerm(QByteArrayView word) const;
    quint32 KeyOf(int index) const;
    // First entry in list order with this Type and Value2 | Faza << 8.
    int FindByCode(quint8 type, quint16 operand) const;
    // Empty for kNone.
    QByteArray DesignationOf(int index) const;

    static quint8 TypeOf(quint32 key) { return quint8(key); }
    static quint8 Value2Of(quint32 key) { return quint8(key >> 8); }
    static quint8 FazaOf(quint32 key) { return quint8(key >> 16); }

private:
    QList<Term> m_terms;
    QStringList m_folded;  // designations in lower case, for FindTerm
};
