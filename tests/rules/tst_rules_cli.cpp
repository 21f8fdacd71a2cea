// ladograf-cli compile and decode, run as a user runs them.
#include "RulesFixture.h"

#include "rules/RulesMessages.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestRulesCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void compilesAndDecodes();
    void compileErrorWritesNothing();
    void decodeFailure();
    void missingDictionary();
    void shippedDictionaryByDefault();
    void usage_data();
    void usage();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run Cli(const QStringList& args);
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString WriteFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    QString m_dictionary;
};

TestRulesCli::Run TestRulesCli::Cli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(LADOGRAF_CLI), args);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString TestRulesCli::WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void TestRulesCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_dictionary = Path(QStringLiteral("pke.dat"));
    QVERIFY(fixture::WriteDatabase(m_dictionary));
}

void TestRulesCli::compilesAndDecodes()
{
    // UTF-8 with a byte-order mark and Windows line ends, as editors write it.
    const QString rules = WriteFile(QStringLiteral("rules.txt"),
        "\xEF\xBB\xBF" + QByteArray("Если (A + B) * 2 > 10 то R = 1, иначе R = 0.\r\nЕсли не A то PULSE1.\r\n"));
    const Run compiled = Cli({QStringLiteral("compile"), rules, QStringLiteral("--out"), Path(QStringLiteral("code.bin")),
                              QStringLiteral("--dictionary"), m_dictionary});
    QCOMPARE(compiled.exitCode, 0);
    QCOMPARE(compiled.out, QStringList({msg::kCompileAnalysing, msg::kCompileGenerating, msg::kCompileDone})
                               .join(QLatin1Char('\n')) + QLatin1Char('\n'));
    QFile code(Path(QStringLiteral("code.bin")));
    QVERIFY(code.open(QIODevice::ReadOnly));
    QCOMPARE(code.readAll().toHex(' '),
             fixture::Code("? A B + N200 * N1000 > @ R = N100 # R = N0 ? A ! @ PULSE1").toHex(' '));

    const Run decoded = Cli({QStringLiteral("decode"), code.fileName(), QStringLiteral("--dictionary"), m_dictionary});
    QCOMPARE(decoded.exitCode, 0);
    QCOMPARE(decoded.out, QStringLiteral("Если (A + B) * 2.00 > 10.00, то R = 1, иначе R = 0.\nЕсли не A, то PULSE1.\n"));
    QCOMPARE(decoded.err, QString());
}

void TestRulesCli::compileErrorWritesNothing()
{
    const QString rules = WriteFile(QStringLiteral("bad.txt"), "Если A > 5 то R = Q.");
    const Run run = Cli({QStringLiteral("compile"), rules, QStringLiteral("--out"), Path(QStringLiteral("bad.bin")),
                         QStringLiteral("--dictionary"), m_dictionary});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, msg::kCompileAnalysing + QLatin1Char('\n') + msg::CompileUnknownWord(QStringLiteral("Q"))
                          + QLatin1Char('\n'));
    QVERIFY(!QFile::exists(Path(QStringLiteral("bad.bin"))));
}

void TestRulesCli::decodeFailure()
{
    // A whole block whose condition runs on to its last byte (numbers, then one byte left).
    const QString code = WriteFile(QStringLiteral("cut.bin"), fixture::Code("? A", 0).leftJustified(512, '\x03'));
    const Run run = Cli({QStringLiteral("decode"), code, QStringLiteral("--dictionary"), m_dictionary});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, QStringLiteral("notice: ") + msg::kUndecodable + QLatin1Char('\n'));
}

void TestRulesCli::missingDictionary()
{
    const QString rules = WriteFile(QStringLiteral("ok.txt"), "Если A > 5 то R = 1.");
    const QString absent = Path(QStringLiteral("absent.dat"));
    const Run run = Cli({QStringLiteral("compile"), rules, QStringLiteral("--out"), Path(QStringLiteral("ok.bin")),
                         QStringLiteral("--dictionary"), absent});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QStringLiteral("notice: ") + msg::DictionaryNotFound(absent) + QLatin1Char('\n'));
    QVERIFY(run.out.endsWith(msg::CompileUnknownWord(QStringLiteral("Если")) + QLatin1Char('\n')));
}

// Without --dictionary the one built beside the programs is used.
void TestRulesCli::shippedDictionaryByDefault()
{
    const QString rules = WriteFile(QStringLiteral("shipped.txt"), "Если UA > 240 то ВЫХ1 = 1.");
    const QString out = Path(QStringLiteral("shipped.bin"));
    const Run compiled = Cli({QStringLiteral("compile"), rules, QStringLiteral("--out"), out});
    QCOMPARE(compiled.exitCode, 0);
    QCOMPARE(compiled.err, QString());
    const Run decoded = Cli({QStringLiteral("decode"), out});
    QCOMPARE(decoded.out, QStringLiteral("Если UA > 240.00, то ВЫХ1 = 1.\n"));
}

void TestRulesCli::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("compile without --out") << QStringList{QStringLiteral("compile"), QStringLiteral("r.txt")};
    QTest::newRow("compile without a file") << QStringList{QStringLiteral("compile"), QStringLiteral("--out"), QStringLiteral("c")};
    QTest::newRow("decode with an unknown option")
        << QStringList{QStringLiteral("decode"), QStringLiteral("c"), QStringLiteral("--tcp"), QStringLiteral("x")};
    QTest::newRow("decode without a file") << QStringList{QStringLiteral("decode")};
}

void TestRulesCli::usage()
{
    QFETCH(QStringList, args);
    const Run run = Cli(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.startsWith(QLatin1String("usage: ")));
}

QTEST_GUILESS_MAIN(TestRulesCli)
#include "tst_rules_cli.moc"
