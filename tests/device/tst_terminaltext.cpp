// What the terminal page shows of received bytes, what a hexadecimal paste sends, and where
// time stamps begin a line.
#include "device/TerminalText.h"

#include <QTest>

class TerminalTextTest : public QObject {
    Q_OBJECT
private slots:
    void received_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("shown");
        QTest::newRow("hex") << QByteArray("\x41\x00\x42", 3) << true << QStringLiteral("41 00 42 ");
        QTest::newRow("hex upper case") << QByteArray("\xff\x0a") << true << QStringLiteral("FF 0A ");
        QTest::newRow("text stops at zero") << QByteArray("\x41\x00\x42", 3) << false << QStringLiteral("A");
        QTest::newRow("text is cp1251") << QByteArray("\xc0\xe1") << false << QStringLiteral("Аб");
        // The reader takes 8 bytes at a time: a zero ends only its own piece.
        QTest::newRow("zero ends its piece only") << QByteArray("ab\0defghIJ", 10) << false << QStringLiteral("abIJ");
        QTest::newRow("nothing") << QByteArray() << true << QString();
    }
    void received()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hex);
        QFETCH(QString, shown);
        QCOMPARE(RenderReceived(bytes, hex), shown);
    }

    void hexPaste_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("echo");
        QTest::newRow("mixed case") << QStringLiteral("0D0a") << QByteArray("\x0d\x0a") << QStringLiteral("0d0a");
        QTest::newRow("full range") << QStringLiteral("00FFfe") << QByteArray("\x00\xff\xfe", 3) << QStringLiteral("00fffe");
        // A pair that is not two hexadecimal digits ends the paste: nothing undefined is sent.
        QTest::newRow("bad pair ends it") << QStringLiteral("41zz42") << QByteArray("A") << QStringLiteral("41");
        QTest::newRow("half bad pair") << QStringLiteral("4g42") << QByteArray() << QString();
        QTest::newRow("blank between pairs") << QStringLiteral("41 42") << QByteArray("A") << QStringLiteral("41");
        QTest::newRow("lone last character") << QStringLiteral("414") << QByteArray("A") << QStringLiteral("41");
        QTest::newRow("line break") << QStringLiteral("41\n") << QByteArray("A") << QStringLiteral("41");
        QTest::newRow("non-Latin digit") << QStringLiteral("٤١") << QByteArray() << QString();
        QTest::newRow("empty") << QString() << QByteArray() << QString();
    }
    void hexPaste()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, echo);
        const HexPaste paste = ParseHexPaste(text);
        QCOMPARE(paste.bytes, bytes);
        QCOMPARE(paste.echo, echo);
    }

    // Arrivals (ms on a monotonic clock, bytes) and what the box then holds.
    void timeStamps_data()
    {
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("stamps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two bursts 50 ms apart") << QList<int>{0, 50} << true << true
                                                << QStringLiteral("[12:00:00.000] 41 \n[12:00:00.050] 41 ");
        QTest::newRow("split by 5 ms: one line") << QList<int>{0, 5} << true << true
                                                 << QStringLiteral("[12:00:00.000] 41 41 ");
        QTest::newRow("exactly 20 ms is a gap") << QList<int>{0, 19, 39} << false << true
                                                << QStringLiteral("[12:00:00.000] AA\n[12:00:00.039] A");
        // The silence is counted from the last arrival, not from the line's start.
        QTest::newRow("a steady trickle stays one line") << QList<int>{0, 15, 30, 45} << false << true
                                                         << QStringLiteral("[12:00:00.000] AAAA");
        QTest::newRow("off: exactly the plain text") << QList<int>{0, 50} << true << false << QStringLiteral("41 41 ");
    }
    void timeStamps()
    {
        QFETCH(QList<int>, times);
        QFETCH(bool, hex);
        QFETCH(bool, stamps);
        QFETCH(QString, shown);
        ReceivedTextFormatter formatter;
        formatter.SetHex(hex);
        formatter.SetTimeStamps(stamps);
        QString box;
        for (int t : times)
            box += formatter.Format("A", t, QTime(12, 0).addMSecs(t), box.isEmpty() || box.endsWith(QLatin1Char('\n')));
        QCOMPARE(box, shown);
    }

    void stampAfterALineBreakAddsNone()
    {
        ReceivedTextFormatter formatter;
        formatter.SetHex(false);
        formatter.SetTimeStamps(true);
        QCOMPARE(formatter.Format("ok\n", 0, QTime(1, 2, 3, 4), false), QStringLiteral("\n[01:02:03.004] ok\n"));
        QCOMPARE(formatter.Format("x", 100, QTime(1, 2, 3, 104), true), QStringLiteral("[01:02:03.104] x"));
    }
};

QTEST_GUILESS_MAIN(TerminalTextTest)
#include "tst_terminaltext.moc"
