#include "RulesFixture.h"

#include "common/Cp1251.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace fixture {

const QList<Row>& Rows()
{
    static const QList<Row> rows = {
        {1, "Если", "Начало правила", 2, 1, 0},
        {2, "то", "Начало действий", 2, 2, 0},
        {3, "иначе", "Иначе", 2, 3, 0},
        {4, "не", "Отрицание", 1, 1, 0},
        {5, "и", "И", 1, 15, 0},
        {6, "или", "Или", 1, 16, 0},
        {7, "(", "Скобка", 1, 17, 5},
        {8, ")", "Скобка", 1, 18, 5},
        {9, "+", "Плюс", 1, 6, 0},
        {10, "-", "Минус", 1, 7, 0},
        {11, "-", "Смена знака", 1, 11, 0},
        {12, "*", "Умножение", 1, 3, 0},
        {13, "/", "Деление", 1, 4, 0},
        {14, "%", "Остаток", 1, 5, 5},
        {15, "<", "Меньше", 1, 8, 0},
        {16, ">", "Больше", 1, 9, 0},
        {17, "=", "Равно", 1, 10, 0},
        {18, "&", "И", 1, 12, 0},
        {19, "|", "Или", 1, 14, 0},
        {20, "^", "Искл", 1, 13, 0},
        {21, "~", "Инверсия", 1, 2, 5},
        {22, "1", "Число", 3, 0, 0},
        {23, "A", "Величина A", 4, 0x10, 1},
        {24, "B", "Величина B", 4, 0x10, 2},
        {25, "X", "Величина X", 4, 0x20, 1},
        {26, "Y", "Величина Y", 4, 0x20, 2},
        {27, "Z", "Величина Z", 4, 0x20, 3},
        {28, "R", "Выход R", 6, 1, 0},
        {29, "PULSE1", "Импульс на R", 7, 1, 0},
        {30, "2A", "Два A", 4, 0x30, 0},
        {31, "2Q", "Два Q", 4, 0x31, 0},
        {32, "Xиначе", "Слово с иначе", 4, 0x40, 0},
        {33, "Авто", "Слово с то", 4, 0x41, 0},
        {34, "тоЕсли", "то и Если вместе", 4, 0x42, 0},
        {35, "иначеЕсли", "иначе и Если вместе", 4, 0x43, 0},
    };
    return rows;
}

TermDictionary Dictionary(const QList<Row>& rows)
{
    TermDictionary dictionary;
    for (const Row& row : rows)
        dictionary.Append(cp1251::Encode(row.designation), cp1251::Encode(row.name),
                          quint8(row.type), quint8(row.value2), quint8(row.faza));
    return dictionary;
}

bool WriteDatabase(const QString& path, const QList<Row>& rows)
{
    const QString connection = QStringLiteral("fixture-writer");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        ok = ok && query.exec(QStringLiteral(
                 "CREATE TABLE Alphavit (Number INTEGER, Name TEXT, Value1 TEXT, "
                 "Value2 INTEGER, Type INTEGER, Faza INTEGER)"));
        ok = ok && query.prepare(QStringLiteral(
                 "INSERT INTO Alphavit (Number, Name, Value1, Value2, Type, Faza) VALUES (?, ?, ?, ?, ?, ?)"));
        for (const Row& row : rows) {
            if (!ok)
                break;
            query.addBindValue(row.number);
            query.addBindValue(row.name);
            query.addBindValue(row.designation);
            query.addBindValue(row.value2);
            query.addBindValue(row.type);
            query.addBindValue(row.faza);
            ok = query.exec();
        }
        if (!ok)
            qWarning() << "cannot write" << path << query.lastError().text() << db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

namespace {

void PutTerm(QByteArray& out, int type, int value2, int faza)
{
    out += char(type);
    out += char(value2);
    out += char(faza);
}

const Row* FindRow(const QString& designation)
{
    for (const Row& row : Rows()) {
        if (row.designation == designation)
            return &row;
    }
    return nullptr;
}

} // namespace

QByteArray Code(const char* words, int padTo)
{
    QByteArray out;
    const QStringList list = QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool raw = false;
    for (QString word : list) {
        if (word.startsWith(QLatin1Char('[')) || raw) {
            raw = !word.endsWith(QLatin1Char(']'));
            word.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            out += char(word.toInt(nullptr, 16));
        } else if (word == QLatin1String("?")) {
            out += "\xFF\xFE\xFF";
        } else if (word == QLatin1String("@")) {
            out += "\xFF\xFD\xFF";
        } else if (word == QLatin1String("#")) {
            out += "\xFF\xFC\xFF";
        } else if (word == QLatin1String("$")) {
            out += "\xFF\xFF\xFF";
        } else if (word == QLatin1String("_")) {
            PutTerm(out, 1, 11, 0);
        } else if (word.size() > 1 && word.startsWith(QLatin1Char('N'))) {
            const qint32 value = word.mid(1).toInt();
            out += char(3);
            for (int shift = 0; shift < 32; shift += 8)
                out += char(quint32(value) >> shift);
        } else if (word.size() == 1 && QStringLiteral("!&*+-/:;<=>^|~").contains(word)) {
            const QString looked = word == QLatin1String("!") ? QStringLiteral("не")
                : word == QLatin1String(":") ? QStringLiteral("и")
                : word == QLatin1String(";") ? QStringLiteral("или") : word;
            const Row* row = FindRow(looked);
            PutTerm(out, row->type, row->value2, 0);
        } else {
            const Row* row = FindRow(word);
            if (!row)
                qFatal("fixture::Code: no term %s", qPrintable(word));
            PutTerm(out, row->type, row->value2, row->faza);
        }
    }
    if (out.size() < padTo)
        out += QByteArray(padTo - out.size(), char(0xFF));
    return out;
}

QByteArray Text(const char* utf8)
{
    return cp1251::Encode(QString::fromUtf8(utf8));
}

} // namespace fixture
