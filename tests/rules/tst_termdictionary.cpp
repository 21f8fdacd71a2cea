// The term dictionary: loading Alphavit from SQLite, the lookups, and the dictionary we ship.
#include "RulesFixture.h"
#include "ScriptedPrompt.h"

#include "common/Cp1251.h"
#include "rules/RuleCompiler.h"
#include "rules/RulesMessages.h"
#include "rules/TermDictionary.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using fixture::Text;

class TestTermDictionary : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsRowsInNumberOrder();
    void findsTerms_data();
    void findsTerms();
    void findsCodes_data();
    void findsCodes();
    void reportsUnreadableFiles_data();
    void reportsUnreadableFiles();
    void loadsAgain();
    void findsTheShippedDictionary();
    void shippedDictionaryHasTheFixedCodes();
    void shippedTermsSurviveTheCompiler();

private:
    QTemporaryDir m_dir;
    QString m_database;
    TermDictionary m_dictionary;
    TermDictionary m_shipped;
};

namespace {

// Rows beyond the common fixture: two with the same code and two with the same designation
// in other letter case, each pair numbered against its insertion order.
QList<fixture::Row> RowsWithDuplicates()
{
    QList<fixture::Row> rows = fixture::Rows();
    rows << fixture::Row{41, "Q2", "Второй с тем же кодом", 9, 9, 0}
         << fixture::Row{40, "Q1", "Первый с тем же кодом", 9, 9, 0}
         << fixture::Row{43, "dup", "Второй с тем же обозначением", 9, 2, 0}
         << fixture::Row{42, "Dup", "Первый с тем же обозначением", 9, 1, 0};
    std::reverse(rows.begin(), rows.end());
    return rows;
}

} // namespace

void TestTermDictionary::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_database = m_dir.filePath(QStringLiteral("pke.dat"));
    QVERIFY(fixture::WriteDatabase(m_database, RowsWithDuplicates()));
    ScriptedPrompt prompt;
    QVERIFY(m_dictionary.Load(m_database, prompt));
    QCOMPARE(prompt.texts(), QStringList());

    ScriptedPrompt shippedPrompt;
    QVERIFY(m_shipped.Load(QStringLiteral(LADOGRAF_BUILT_DICTIONARY), shippedPrompt));
    QCOMPARE(shippedPrompt.texts(), QStringList());
}

void TestTermDictionary::loadsRowsInNumberOrder()
{
    QCOMPARE(m_dictionary.size(), fixture::Rows().size() + 4);
    for (int i = 0; i < fixture::Rows().size(); ++i)
        QCOMPARE(m_dictionary.DesignationOf(i), cp1251::Encode(fixture::Rows().at(i).designation));
    const int a = m_dictionary.FindTerm("A");
    QCOMPARE(m_dictionary.KeyOf(a), 0x011004u);
    QCOMPARE(m_dictionary.at(a).name, Text("Величина A"));
    QCOMPARE(m_dictionary.DesignationOf(m_dictionary.size() - 1), QByteArray("dup"));
}

void TestTermDictionary::findsTerms_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<qint64>("key");  // of the entry found, -1 for none

    QTest::newRow("exact") << QByteArray("A") << qint64(0x011004);
    QTest::newRow("Latin case") << QByteArray("pulse1") << qint64(0x000107);
    QTest::newRow("Cyrillic case") << Text("ЕСЛИ") << qint64(0x000102);
    QTest::newRow("mixed case") << Text("иНаЧе") << qint64(0x000302);
    QTest::newRow("two rows: the smaller number") << QByteArray("DUP") << qint64(0x000109);
    QTest::newRow("minus: the binary one first") << QByteArray("-") << qint64(0x000701);
    QTest::newRow("unknown") << QByteArray("Q") << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
    QTest::newRow("a prefix is not a match") << QByteArray("PULSE") << qint64(-1);
}

void TestTermDictionary::findsTerms()
{
    QFETCH(QByteArray, word);
    QFETCH(qint64, key);
    const int index = m_dictionary.FindTerm(word);
    QCOMPARE(index == TermDictionary::kNone ? qint64(-1) : qint64(m_dictionary.KeyOf(index)), key);
}

void TestTermDictionary::findsCodes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("operand");
    QTest::addColumn<QByteArray>("designation");

    QTest::newRow("term with Faza") << 4 << 0x0110 << QByteArray("A");
    QTest::newRow("Faza is part of the operand") << 4 << 0x0010 << QByteArray();
    QTest::newRow("unary minus") << 1 << 11 << QByteArray("-");
    QTest::newRow("output") << 6 << 1 << QByteArray("R");
    QTest::newRow("action") << 7 << 1 << QByteArray("PULSE1");
    QTest::newRow("two rows: the smaller number") << 9 << 9 << QByteArray("Q1");
    QTest::newRow("unknown") << 0xFF << 0xFFFF << QByteArray();
}

void TestTermDictionary::findsCodes()
{
    QFETCH(int, type);
    QFETCH(int, operand);
    QFETCH(QByteArray, designation);
    QCOMPARE(m_dictionary.DesignationOf(m_dictionary.FindByCode(quint8(type), quint16(operand))), designation);
}

void TestTermDictionary::reportsUnreadableFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("missing") << QStringLiteral("absent.dat")
                             << msg::DictionaryNotFound(m_dir.filePath(QStringLiteral("absent.dat")));
    QTest::newRow("a folder") << QString() << msg::DictionaryNotFound(m_dir.path());
    // Neither a text file nor an empty one opens as a database.
    QTest::newRow("not a database") << QStringLiteral("text.dat")
                                    << msg::DictionaryNotFound(m_dir.filePath(QStringLiteral("text.dat")));
    QTest::newRow("empty file") << QStringLiteral("zero.dat")
                                << msg::DictionaryNotFound(m_dir.filePath(QStringLiteral("zero.dat")));
    QTest::newRow("no table") << QStringLiteral("empty.dat") << QStringLiteral("no such table: Alphavit");
}

void TestTermDictionary::reportsUnreadableFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, text);

    QFile textFile(m_dir.filePath(QStringLiteral("text.dat")));
    QVERIFY(textFile.open(QIODevice::WriteOnly));
    textFile.write(QByteArray(2048, 'x'));
    textFile.close();
    QFile zeroFile(m_dir.filePath(QStringLiteral("zero.dat")));
    QVERIFY(zeroFile.open(QIODevice::WriteOnly));
    zeroFile.close();
    QVERIFY(fixture::WriteDatabase(m_dir.filePath(QStringLiteral("empty.dat")), {}));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
        db.setDatabaseName(m_dir.filePath(QStringLiteral("empty.dat")));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("DROP TABLE Alphavit")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("drop"));

    ScriptedPrompt prompt;
    TermDictionary dictionary = fixture::Dictionary();
    QVERIFY(!dictionary.Load(file.isEmpty() ? m_dir.path() : m_dir.filePath(file), prompt));
    QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("notice")});
    QCOMPARE(prompt.texts(), QStringList{text});
    QVERIFY(dictionary.isEmpty());
    // The file is only read: a missing one is not created.
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.dat"))));
}

void TestTermDictionary::loadsAgain()
{
    ScriptedPrompt prompt;
    TermDictionary dictionary;
    QVERIFY(dictionary.Load(m_database, prompt));
    QVERIFY(dictionary.Load(m_database, prompt));
    QCOMPARE(dictionary.size(), m_dictionary.size());
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
}

// The tests run two levels below the build tree's Data folder, like the programs.
void TestTermDictionary::findsTheShippedDictionary()
{
    QCOMPARE(QFileInfo(TermDictionary::DefaultPath()).canonicalFilePath(),
             QFileInfo(QStringLiteral(LADOGRAF_BUILT_DICTIONARY)).canonicalFilePath());
}

void TestTermDictionary::shippedDictionaryHasTheFixedCodes()
{
    const TermDictionary& d = m_shipped;
    QCOMPARE(TermDictionary::TypeOf(d.KeyOf(d.FindTerm("1"))), quint8(3));
    QVERIFY(d.FindByCode(1, 11) != TermDictionary::kNone);
    for (const char* word : {"Если", "то", "иначе", "не", "и", "или"})
        QVERIFY2(d.FindTerm(Text(word)) != TermDictionary::kNone, word);
    // Signs are written with Faza 0; only then does the decoder find them again.
    for (char sign : QByteArray("&()*+-/<=>^|%~")) {
        const int index = d.FindTerm(QByteArray(1, sign));
        QVERIFY2(index != TermDictionary::kNone, QByteArray(1, sign).constData());
        QCOMPARE(TermDictionary::FazaOf(d.KeyOf(index)), quint8(0));
    }
    for (int i = 0; i < d.size(); ++i) {
        QVERIFY(TermDictionary::TypeOf(d.KeyOf(i)) != 0xFF);
        QVERIFY(!d.at(i).name.isEmpty());
    }
}

// Every quantity, input, output and action works in a rule exactly as written in the
// dictionary and reads back the same: no blank, sign, keyword or leading 1/2 inside.
void TestTermDictionary::shippedTermsSurviveTheCompiler()
{
    const RuleCompiler compiler(m_shipped);
    int checked = 0;
    for (int i = 0; i < m_shipped.size(); ++i) {
        const quint8 type = TermDictionary::TypeOf(m_shipped.KeyOf(i));
        if (type < 4)
            continue;
        const QByteArray word = m_shipped.DesignationOf(i);
        QCOMPARE(m_shipped.FindTerm(word), i);
        if (type != 7)
            QCOMPARE(m_shipped.FindByCode(type, quint16(m_shipped.KeyOf(i) >> 8)), i);
        else
            QVERIFY(m_shipped.FindByCode(6, quint16(m_shipped.KeyOf(i) >> 8)) != TermDictionary::kNone);

        const QByteArray text = type == 7 ? Text("Если ВХ1 = 1.00, то ") + word + ".\n"
                                          : Text("Если ") + word + Text(" > 1.00, то ВЫХ1 = 1.\n");
        QByteArray block = EmptyControlCode();
        QStringList messages;
        QVERIFY2(compiler.Compile(text, block, messages), qPrintable(messages.join(QLatin1Char('|'))));
        QByteArray decoded;
        QVERIFY(compiler.Decode(block, decoded));
        QCOMPARE(cp1251::Decode(decoded), cp1251::Decode(text));
        ++checked;
    }
    QVERIFY(checked > 50);
}

QTEST_GUILESS_MAIN(TestTermDictionary)
#include "tst_termdictionary.moc"
