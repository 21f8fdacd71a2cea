#pragma once
// A small dictionary for the rule tests (A, B, X, Y, Z, R and the signs), a writer for
// dictionary databases, and a notation for expected control code.
#include "rules/TermDictionary.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace fixture {

struct Row {
    int number;
    QString designation;
    QString name;
    int type;
    int value2;
    int faza;
};

// The test dictionary. The brackets, "%" and "~" carry Faza 5 so that the tests see where
// it is written and where a sign gets 0x00; R is an output (Type 6) and PULSE1 the action
// on it (Type 7).
const QList<Row>& Rows();

// The rows as an in-memory dictionary, in list order.
TermDictionary Dictionary(const QList<Row>& rows = Rows());

// Writes rows into a new SQLite file with table Alphavit; rows are inserted in the order
// given, whatever their numbers. Returns false (with a test failure) when it cannot.
bool WriteDatabase(const QString& path, const QList<Row>& rows = Rows());

// Control code from words separated by blanks: "?" "@" "#" "$" the markers, "_" unary
// minus, "N150" a number stored as 150, "[09 0A 0B]" raw bytes, one of ! & * + - / : ; <
// = > ^ | ~ a sign (Type, Value2, 00; ! : ; are не и или), anything else a term of Rows()
// (Type, Value2, Faza). Padded with 0xFF to padTo bytes (0: no padding).
QByteArray Code(const char* words, int padTo = 512);

// cp1251 bytes of a UTF-8 literal.
QByteArray Text(const char* utf8);

} // namespace fixture
