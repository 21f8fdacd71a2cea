// The pulse I/O page's block exchange: rules compiled before a write (nothing sent when they
// do not compile), the block decoded after a read.
#include "ExchangeBench.h"
#include "RulesFixture.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "rules/ControlCodeExchange.h"
#include "rules/RuleCompiler.h"
#include "rules/RulesMessages.h"

#include <QTest>

class ControlCodeExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void writeCompilesAndSendsTheBlock_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("empty text: all 0xFF") << QString() << QByteArray(512, char(0xFF));
        QTest::newRow("one rule") << QStringLiteral("Если A > 5 и B < 3 то R = 1.")
                                  << fixture::Code("? A N500 : B N300 < > @ R = N100");
    }
    void writeCompilesAndSendsTheBlock()
    {
        QFETCH(QString, rules);
        QFETCH(QByteArray, block);
        ExchangeBench b;
        const TermDictionary dictionary = fixture::Dictionary();
        ConfigModel m = NewConfigModel();
        PageHooks hooks;
        hooks.storePage = [&m, &rules] { m.pulse_rules_text = cp1251::Encode(rules); };
        QStringList messages;
        QVERIFY(WriteControlCode(b.settings, b.engine, dictionary, m, b.progress, &messages, hooks));
        QCOMPARE(b.Sent(), (QList<SentFrame>{{0x13, 0x81, block}}));
        QCOMPARE(messages.isEmpty(), rules.isEmpty());
        QCOMPARE(b.progress.steps, QList<int>{50});
        QCOMPARE(b.progress.stepped, 3);

        // And back: the block decodes into rules again.
        QByteArray text("stale");
        modelChanged().Clear();
        QVERIFY(ReadControlCode(b.settings, b.engine, dictionary, b.progress, b.prompt, &text));
        QCOMPARE(text.isEmpty(), rules.isEmpty());
        QVERIFY(modelChanged().IsSet());
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void compileErrorSendsNothing()
    {
        ExchangeBench b;
        const TermDictionary dictionary = fixture::Dictionary();
        ConfigModel m = NewConfigModel();
        m.pulse_rules_text = cp1251::Encode(u"Если НЕТАКОГО > 5 то R = 1.");
        QStringList shown;
        PageHooks hooks;
        hooks.showMessages = [&shown](const QStringList& lines) { shown = lines; };
        QVERIFY(!WriteControlCode(b.settings, b.engine, dictionary, m, b.progress, nullptr, hooks));
        QVERIFY(b.Sent().isEmpty());
        QCOMPARE(shown.last(), msg::CompileUnknownWord(QStringLiteral("НЕТАКОГО")));
    }

    void refusedWriteIsAFailure_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("2") << 2 << msg::kNotAllWritten;
        QTest::newRow("18") << 18 << msg::kNotStoppedNotAllWritten;
    }
    void refusedWriteIsAFailure()
    {
        QFETCH(int, status);
        QFETCH(QString, message);
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, status, 0x13, 0x81);
        ConfigModel m = NewConfigModel();
        QVERIFY(!WriteControlCode(b.settings, b.engine, fixture::Dictionary(), m, b.progress));
        QCOMPARE(b.prompt.texts(), QStringList{message});
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("error")});
    }

    void unreadableBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("replyBytes");  // 0: the whole block
        QTest::addColumn<QString>("notice");
        QTest::newRow("short") << QByteArray(512, char(0xFF)) << 24 + 500 << msg::kReadFailure;
        QTest::newRow("ends inside a condition")
            << fixture::Code("? A N500 >").left(9) + QByteArray(503, '\0') << 0 << msg::kUndecodable;
    }
    void unreadableBlocks()
    {
        QFETCH(QByteArray, block);
        QFETCH(int, replyBytes);
        QFETCH(QString, notice);
        ExchangeBench b;
        b.meter.SetBlock(0x13, 1, block);
        if (replyBytes)
            b.Fault(MeterFault::Kind::Short, replyBytes, 0x13);
        QByteArray text("kept");
        bool shown = false;
        PageHooks hooks;
        hooks.showText = [&shown](const QByteArray&) { shown = true; };
        modelChanged().Clear();
        QVERIFY(!ReadControlCode(b.settings, b.engine, fixture::Dictionary(), b.progress, b.prompt, &text, hooks));
        QCOMPARE(text, QByteArray("kept"));
        QVERIFY(!shown);
        QVERIFY(!modelChanged().IsSet());
        QCOMPARE(b.prompt.texts(), QStringList{notice});
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("notice")});
    }
};

QTEST_GUILESS_MAIN(ControlCodeExchangeTest)
#include "tst_controlcodeexchange.moc"
