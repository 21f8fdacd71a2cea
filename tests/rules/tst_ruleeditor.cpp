// What the rule editor's helpers decide: which words are coloured, the search box's history
// and which dictionary row a search finds.
#include "RulesFixture.h"
#include "rules/RuleTokens.h"
#include "rules/TermSearch.h"

#include <QTest>

namespace {

// "K:start+length" per token, K one of k (keyword), t (term), n (number).
QString Describe(const QList<RuleToken>& tokens)
{
    QStringList parts;
    for (const RuleToken& t : tokens) {
        const char kind = t.kind == RuleTokenKind::Keyword ? 'k' : t.kind == RuleTokenKind::Term ? 't' : 'n';
        parts << QStringLiteral("%1:%2+%3").arg(QLatin1Char(kind)).arg(t.start).arg(t.length);
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class RuleEditorTest : public QObject {
    Q_OBJECT
private slots:
    void tokens_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("rule") << QStringLiteral("Если A > 5 то R = 1.") << QStringLiteral("k:0+4 t:5+1 n:9+1 k:11+2 t:14+1 n:18+1");
        QTest::newRow("signs cut words") << QStringLiteral("(A+B)*2.5") << QStringLiteral("t:1+1 t:3+1 n:6+3");
        QTest::newRow("full stop after a number ends the rule")
            << QStringLiteral("R = 10.") << QStringLiteral("t:0+1 n:4+2");
        QTest::newRow("unknown word not coloured") << QStringLiteral("Если НЕТ то") << QStringLiteral("k:0+4 k:9+2");
        // The splitting reads keywords only as written; the dictionary ignores case.
        QTest::newRow("lower-case если is a term") << QStringLiteral("если a") << QStringLiteral("t:0+4 t:5+1");
        QTest::newRow("и, или, не") << QStringLiteral("не A и B или X")
                                    << QStringLiteral("k:0+2 t:3+1 k:5+1 t:7+1 k:9+3 t:13+1");
        QTest::newRow("digits then letters: a word") << QStringLiteral("2A 2W") << QStringLiteral("t:0+2");
        QTest::newRow("empty") << QString() << QString();
    }
    void tokens()
    {
        QFETCH(QString, line);
        QFETCH(QString, tokens);
        QCOMPARE(Describe(RuleTokens(line, fixture::Dictionary())), tokens);
    }

    void searchHistory_data()
    {
        QTest::addColumn<QStringList>("searches");
        QTest::addColumn<QStringList>("history");
        QTest::newRow("in order") << QStringList{"A", "B"} << QStringList{"A", "B"};
        QTest::newRow("again adds nothing") << QStringList{"UA", "ua", "UA"} << QStringList{"UA"};
        QTest::newRow("a beginning of an entry adds nothing") << QStringList{"UAB", "ua", "U"} << QStringList{"UAB"};
        QTest::newRow("a longer text is new") << QStringList{"U", "UA"} << QStringList{"U", "UA"};
        QTest::newRow("never more than five") << QStringList{"1", "2", "3", "4", "5", "6", "7"}
                                              << QStringList{"3", "4", "5", "6", "7"};
        QTest::newRow("Cyrillic case ignored") << QStringList{"ВЫХ1", "вых"} << QStringList{"ВЫХ1"};
    }
    void searchHistory()
    {
        QFETCH(QStringList, searches);
        QFETCH(QStringList, history);
        QStringList kept;
        for (const QString& s : searches)
            AddToSearchHistory(kept, s);
        QCOMPARE(kept, history);
    }

    void findDesignation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::newRow("exact") << QStringLiteral("PULSE1") << 28;
        QTest::newRow("case ignored") << QStringLiteral("pulse1") << 28;
        QTest::newRow("Cyrillic case ignored") << QStringLiteral("ИНАЧЕ") << 2;
        QTest::newRow("a beginning is not a match") << QStringLiteral("PULSE") << int(TermDictionary::kNone);
        QTest::newRow("empty") << QString() << int(TermDictionary::kNone);
    }
    void findDesignation()
    {
        QFETCH(QString, text);
        QFETCH(int, row);
        QCOMPARE(FindDesignation(fixture::Dictionary(), text), row);
    }
};

QTEST_GUILESS_MAIN(RuleEditorTest)
#include "tst_ruleeditor.moc"
