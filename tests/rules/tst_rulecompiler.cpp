// The rule compiler and decoder against the small test dictionary: rule text -> control
// code, control code -> rule text, and the error lines.
#include "RulesFixture.h"

#include "rules/RuleCompiler.h"
#include "rules/RulesMessages.h"

#include <QTest>

using fixture::Code;
using fixture::Text;

class TestRuleCompiler : public QObject {
    Q_OBJECT

private slots:
    void compiles_data();
    void compiles();
    void reportsErrors_data();
    void reportsErrors();
    void emptyTextLeavesEverythingAlone_data();
    void emptyTextLeavesEverythingAlone();
    void codeFillsTheBlockExactly();
    void conditionNestingIsLimited();
    void needsTheNumberTerm();
    void decodes_data();
    void decodes();
    void decodeFailsWhenTheBlockEndsEarly_data();
    void decodeFailsWhenTheBlockEndsEarly();
    void roundTrip_data();
    void roundTrip();

private:
    const TermDictionary m_dictionary = fixture::Dictionary();
    const RuleCompiler m_compiler{m_dictionary};
};

namespace {

const QStringList kSucceeded = {msg::kCompileAnalysing, msg::kCompileGenerating, msg::kCompileDone};

QString ToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

void TestRuleCompiler::compiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("code");

    // The word orders of the reordering, "и" left in place between the comparisons.
    QTest::newRow("и stays between the operands")
        << Text("Если A > 5 и B < 3 то R = 1.") << Code("? A N500 : B N300 < > @ R = N100");
    QTest::newRow("brackets and иначе")
        << Text("Если (A + B) * 2 > 10 то R = 1, иначе R = 0.")
        << Code("? A B + N200 * N1000 > @ R = N100 # R = N0");
    QTest::newRow("each sign its own rank")
        << Text("Если X - Y + Z > 1 то R = 1.") << Code("? X Y Z + - N100 > @ R = N100");
    QTest::newRow("* before /") << Text("Если X * Y / Z > 1 то R = 1.")
                                << Code("? X Y * Z / N100 > @ R = N100");
    QTest::newRow("не") << Text("Если не A то R = 1.") << Code("? A ! @ R = N100");
    QTest::newRow("или") << Text("Если A или B то R = 1.") << Code("? A ; B @ R = N100");
    QTest::newRow("two rules")
        << Text("Если A > 5 то R = 1, иначе R = 0. Если B < 3 то PULSE1.")
        << Code("? A N500 > @ R = N100 # R = N0 ? B N300 < @ PULSE1");
    QTest::newRow("иначе of a later rule ends the first rule's actions")
        << Text("Если A > 5 то R = 1. Если B < 3 то R = 0, иначе PULSE1.")
        << Code("? A N500 > @ R = N100 Если B < N300 то R = N0 # PULSE1");

    // Pinned as raw bytes: markers, a term with its Faza, a number as i32, a sign with 00.
    QTest::newRow("bytes") << Text("Если A > 5 то R = 1.")
                           << Code("[FF FE FF 04 10 01 03 F4 01 00 00 01 09 00 FF FD FF 06 01 00 "
                                   "01 0A 00 03 64 00 00 00]");

    // Minus: binary after a word or a blank, unary at an operator.
    QTest::newRow("minus after a blank is binary")
        << Text("Если -A > 5 то R = 1.") << Code("? A - N500 > @ R = N100");
    QTest::newRow("minus after ( is unary")
        << Text("Если (-A) > 5 то R = 1.") << Code("? A _ N500 > @ R = N100");
    QTest::newRow("minus after > is unary")
        << Text("Если A > -5 то R = -1.") << Code("? A N500 _ > @ R = _ N100");

    // Numbers.
    QTest::newRow("1,5 is two numbers") << Text("Если A > 1,5 то R = 1.")
                                       << Code("? A N100 N500 > @ R = N100");
    QTest::newRow("1.5 is one") << Text("Если A > 1.5 то R = 1.") << Code("? A N150 > @ R = N100");
    QTest::newRow("0.004 truncates to 0") << Text("Если A > 0.004 то R = 1.")
                                         << Code("? A N0 > @ R = N100");
    QTest::newRow("0.29 is exact") << Text("Если A > 0.29 то R = 1.") << Code("? A N29 > @ R = N100");
    QTest::newRow("a full stop after a number is no decimal point")
        << Text("Если A > 5.Если B > 2 то R = 1.") << Code("? A N500 Если B > N200 > @ R = N100");
    QTest::newRow("huge number saturates") << Text("Если A > 99999999999 то R = 1.")
                                          << Code("? A N2147483647 > @ R = N100");

    // Line breaks and blanks.
    QTest::newRow("leading line break") << Text("\nЕсли A > 5 то R = 1.")
                                        << Code("? A N500 > @ R = N100");
    QTest::newRow("CR LF between words") << Text("Если A > 5\r\n то R = 1.\r\n")
                                         << Code("? A N500 > @ R = N100");

    // Words with a leading digit and words containing keywords.
    QTest::newRow("2A is encoded as A") << Text("Если 2A > 5 то R = 1.") << Code("? A N500 > @ R = N100");
    QTest::newRow("иначе inside an action word")
        << Text("Если A > 5 то Xиначе = 1.") << Code("? A N500 > @ X # = N100");

    // Signs are written with 00, other single characters with their Faza.
    QTest::newRow("brackets in actions keep their Faza")
        << Text("Если A > 5 то R = ( 1 ).") << Code("? A N500 > @ R = [01 11 05] N100 [01 12 05]");
    QTest::newRow("a sign glued to a number in actions swallows it")
        << Text("Если A > 5 то R = (1).") << Code("? A N500 > @ R = [01 11 05] [01 12 05]");
    QTest::newRow("% in a condition keeps its Faza")
        << Text("Если A % 2 > 0 то R = 1.") << Code("? A N200 [01 05 05] N0 > @ R = N100");
    QTest::newRow("upper-case sign word") << Text("Если НЕ A то R = 1.")
                                         << Code("? [01 01 00] A @ R = N100");
    QTest::newRow("~ is written without its Faza") << Text("Если ~ A то R = 1.")
                                                  << Code("? A [01 02 00] @ R = N100");
}

void TestRuleCompiler::compiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, code);
    QByteArray block = EmptyControlCode();
    QStringList messages;
    QVERIFY2(m_compiler.Compile(text, block, messages), qPrintable(messages.join(QLatin1Char('|'))));
    QCOMPARE(messages, kSucceeded);
    QCOMPARE(ToHex(block), ToHex(code));
}

void TestRuleCompiler::reportsErrors_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");

    const auto lexical = [](const QString& word) {
        return QStringList{msg::kCompileAnalysing, msg::CompileUnknownWord(word)};
    };
    const auto syntax = [](const QString& line) { return QStringList{msg::kCompileAnalysing, line}; };
    const auto encoding = [](const QString& line) {
        return QStringList{msg::kCompileAnalysing, msg::kCompileGenerating, line};
    };

    QTest::newRow("unknown word") << Text("Если A > 5 то RR = 1.") << lexical("RR") << 14 << 2;
    QTest::newRow("first occurrence is selected")
        << Text("Если A > Q то R = Q.") << lexical("Q") << 9 << 1;
    QTest::newRow("known last word without separator")
        << Text("Если A > 5 то R = A") << lexical("A") << 5 << 1;
    QTest::newRow("number as last word") << Text("Если A > 5 то R = 1") << lexical("1") << 18 << 1;
    QTest::newRow("line break joins two words")
        << Text("Если A > 5 то R = 1\nR = 0.") << lexical("1R") << -1 << 0;
    QTest::newRow("2 and an unknown word") << Text("Если 2B > 5 то R = 1.") << lexical("2B") << 5 << 2;

    QTest::newRow("leading blank") << Text(" Если A > 5 то R = 1.") << syntax(msg::kCompileNoIf) << -1 << 0;
    QTest::newRow("lower-case если") << Text("если A > 5 то R = 1.") << syntax(msg::kCompileNoIf) << -1 << 0;
    QTest::newRow("no Если") << Text("A > 5 то R = 1.") << syntax(msg::kCompileNoIf) << -1 << 0;
    QTest::newRow("Если without то") << Text("Если A > 5 R = 1.") << syntax(msg::kCompileIfWithoutThen) << -1 << 0;
    QTest::newRow("second rule without то")
        << Text("Если A > 5 то R = 1. Если B > 5 R = 0.") << syntax(msg::kCompileIfWithoutThen) << -1 << 0;
    QTest::newRow("nothing after то")
        << Text("Если A > 5 тоЕсли.") << syntax(msg::kCompileNothingAfterThen) << -1 << 0;
    QTest::newRow("nothing after иначе")
        << Text("Если A > 5 то R = 1, иначеЕсли.") << syntax(msg::kCompileNothingAfterElse) << -1 << 0;

    QTest::newRow("то inside a condition word")
        << Text("Если Авто > 1 то R = 1.") << encoding(msg::CompileUnknownCode(QStringLiteral("Ав"))) << -1 << 0;
    QTest::newRow("2Q is encoded as the unknown Q")
        << Text("Если 2Q > 5 то R = 1.") << encoding(msg::CompileUnknownCode(QStringLiteral("Q"))) << -1 << 0;
}

void TestRuleCompiler::reportsErrors()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, messages);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);

    QByteArray block = EmptyControlCode();
    QStringList shown = {QStringLiteral("old line")};
    RuleCompiler::WordSpan span;
    QVERIFY(!m_compiler.Compile(text, block, shown, &span));
    QCOMPARE(shown, messages);
    QCOMPARE(span.start, selectionStart);
    QCOMPARE(span.length, selectionLength);
}

void TestRuleCompiler::emptyTextLeavesEverythingAlone_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one line break") << QByteArray("\n");
}

void TestRuleCompiler::emptyTextLeavesEverythingAlone()
{
    QFETCH(QByteArray, text);
    QByteArray block(kControlCodeSize, '\x5A');
    QStringList messages = {QStringLiteral("old line")};
    QVERIFY(m_compiler.Compile(text, block, messages));
    QCOMPARE(block, QByteArray(kControlCodeSize, '\x5A'));
    QCOMPARE(messages, QStringList{QStringLiteral("old line")});
}

// 17 bytes of rule head and 11 per "R = 1": 45 actions fill 512 bytes to the last one.
void TestRuleCompiler::codeFillsTheBlockExactly()
{
    const auto rule = [](int actions) {
        QByteArray text = Text("Если A > 5 то");
        for (int i = 0; i < actions; ++i)
            text += " R = 1,";
        return text + '.';
    };
    QByteArray block = EmptyControlCode();
    QStringList messages;
    QVERIFY(m_compiler.Compile(rule(45), block, messages));
    QCOMPARE(block.right(5), Code("N100", 0));
    QCOMPARE(block.size(), kControlCodeSize);

    // A 46th action has no room left.
    block = EmptyControlCode();
    QVERIFY(!m_compiler.Compile(rule(46), block, messages));
    QCOMPARE(messages.last(), msg::kCompileTooLong);
    QCOMPARE(block.size(), kControlCodeSize);

    // A number that would straddle the end is refused whole.
    QByteArray small = QByteArray(8, char(0xFF));
    QVERIFY(!m_compiler.Compile(Text("Если A > 5 то R = 1."), small, messages));
    QCOMPARE(messages.last(), msg::kCompileTooLong);
    QCOMPARE(ToHex(small), ToHex(Code("? A", 8)));
}

void TestRuleCompiler::conditionNestingIsLimited()
{
    const auto rule = [](int depth) {
        return Text("Если ") + QByteArray(depth, '(') + 'A' + QByteArray(depth, ')') + Text(" > 5 то R = 1.");
    };
    QByteArray block = EmptyControlCode();
    QStringList messages;
    QVERIFY(m_compiler.Compile(rule(20), block, messages));
    QCOMPARE(ToHex(block), ToHex(Code("? A N500 > @ R = N100")));

    QVERIFY(!m_compiler.Compile(rule(21), block, messages));
    QCOMPARE(messages, (QStringList{msg::kCompileAnalysing, msg::kCompileTooComplex}));
}

void TestRuleCompiler::needsTheNumberTerm()
{
    QList<fixture::Row> rows = fixture::Rows();
    rows.removeIf([](const fixture::Row& row) { return row.designation == QLatin1String("1"); });
    const TermDictionary dictionary = fixture::Dictionary(rows);
    QByteArray block = EmptyControlCode();
    QStringList messages;
    QVERIFY(!RuleCompiler(dictionary).Compile(Text("Если A > 5 то R = A."), block, messages));
    QCOMPARE(messages.last(), msg::CompileUnknownCode(QStringLiteral("1")));
}

void TestRuleCompiler::decodes_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("simple") << Code("? A N500 > @ R = N100 $") << Text("Если A > 5.00, то R = 1.\n");
    QTest::newRow("и between comparisons")
        << Code("? A N500 : B N300 < > @ R = N100") << Text("Если A и 5.00 > (B) < 3.00, то R = 1.\n");
    QTest::newRow("right operand without brackets")
        << Code("? X Y Z + - @ R = N100") << Text("Если X - Y + Z, то R = 1.\n");
    QTest::newRow("left operand in brackets")
        << Code("? A B + N200 * N1000 > @ R = N100") << Text("Если (A + B) * 2.00 > 10.00, то R = 1.\n");
    QTest::newRow("prefix signs and или")
        << Code("? A ! B _ ; @ R = N0") << Text("Если не A или -B, то R = 0.\n");
    QTest::newRow("иначе and two rules")
        << Code("? A @ R = N100 # R = N0 ? B @ PULSE1")
        << Text("Если A, то R = 1, иначе R = 0.\nЕсли B, то PULSE1.\n");
    QTest::newRow("numbers in condition and actions")
        << Code("? A N250 > N1 > @ R = N-250 N199") << Text("Если (A > 2.50) > 0.01, то R = -2 1.\n");
    QTest::newRow("a negative number in a condition reads as a minus sign")
        << Code("? A N-250 > @ R") << Text("Если, то R.\n");
    QTest::newRow("large condition number in single precision")
        << Code("? A N123456789 > @ R") << Text("Если A > 1234567.88, то R.\n");
    QTest::newRow("Type 7 reads as the output in a condition only")
        << Code("? PULSE1 N100 = @ PULSE1") << Text("Если R = 1.00, то PULSE1.\n");
    QTest::newRow("unary minus in actions by its designation")
        << Code("? A @ R = _ N100") << Text("Если A, то R = - 1.\n");
    QTest::newRow("unknown codes are blank")
        << Code("? A [09 09 09] > @ R = [09 09 09]") << Text("Если, то R = .\n");
    QTest::newRow("markers inside a condition are skipped")
        << Code("? A # ? $ N5 > @ R") << Text("Если A > 0.05, то R.\n");
    QTest::newRow("sign without operands leaves the condition empty")
        << Code("? > @ R") << Text("Если, то R.\n");
    QTest::newRow("empty block") << QByteArray(512, char(0xFF)) << QByteArray();
    QTest::newRow("no rule start") << Code("[00] ? A @ R") << QByteArray();
    QTest::newRow("block too short for a marker") << QByteArray("\xFF\xFE") << QByteArray();
    QTest::newRow("code up to the last byte")
        << Code("? A @ R", 0) << Text("Если A, то R.\n");
    QTest::newRow("number cut by the block end")
        << Code("? A @ R [03 64 00]", 0) << Text("Если A, то R.\n");
}

void TestRuleCompiler::decodes()
{
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, text);
    QByteArray decoded = "garbage";
    QVERIFY(m_compiler.Decode(code, decoded));
    QCOMPARE(decoded, text);
}

void TestRuleCompiler::decodeFailsWhenTheBlockEndsEarly_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("inside the condition") << Code("? A N500", 0);
    QTest::newRow("right after the actions marker") << Code("? A @", 0);
    QTest::newRow("second rule cut short") << Code("? A @ R ? B", 0);
    QTest::newRow("rule start at the very end") << Code("? A @ R ?", 0);
}

void TestRuleCompiler::decodeFailsWhenTheBlockEndsEarly()
{
    QFETCH(QByteArray, code);
    QByteArray text;
    QVERIFY(!m_compiler.Decode(code, text));
}

void TestRuleCompiler::roundTrip_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("comparison") << Text("Если A > 5.00, то R = 1.\n");
    QTest::newRow("arithmetic") << Text("Если (A + B) * 2.00 > 10.00, то R = 1, иначе R = 0.\n");
    QTest::newRow("two rules") << Text("Если не A, то PULSE1.\nЕсли B < 0.50, то R = 0.\n");
}

// Text the decoder writes compiles back to the same code.
void TestRuleCompiler::roundTrip()
{
    QFETCH(QByteArray, text);
    QByteArray block = EmptyControlCode();
    QStringList messages;
    QVERIFY(m_compiler.Compile(text, block, messages));
    QByteArray decoded;
    QVERIFY(m_compiler.Decode(block, decoded));
    QCOMPARE(decoded, text);
}

QTEST_GUILESS_MAIN(TestRuleCompiler)
#include "tst_rulecompiler.moc"
