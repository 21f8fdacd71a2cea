// The C formats of the pages give the C library's text whatever the locale, and halves round
// away from zero where the pages say so.
#include "common/CFormat.h"

#include <QTest>

#include <clocale>
#include <limits>

class CFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formats_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("%.3f") << QByteArray("%.3f") << 381.05117082595825 << "381.051";
        QTest::newRow("%10.3f pads") << QByteArray("%10.3f") << 5773.5 << "  5773.500";
        QTest::newRow("%+.2f positive") << QByteArray("%+.2f") << 0.2 << "+0.20";
        QTest::newRow("%+.2f small negative") << QByteArray("%+.2f") << -0.001 << "-0.00";
        QTest::newRow("%.2f small negative") << QByteArray("%.2f") << -0.004 << "-0.00";
        QTest::newRow("%.2f binary half") << QByteArray("%.2f") << 1.005 << "1.00";
        QTest::newRow("%.0f") << QByteArray("%.0f") << 60.0 << "60";
    }
    void formats()
    {
        QFETCH(QByteArray, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatC(format.constData(), value), text);
    }

    void decimalCommaLocaleStillPrintsAPoint()
    {
        if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("no locale with a decimal comma is installed");
        const QString text = FormatC("%.2f", 1.5);
        std::setlocale(LC_NUMERIC, "C");
        QCOMPARE(text, QStringLiteral("1.50"));
    }

    void roundsHalfAwayFromZero_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qlonglong>("rounded");
        QTest::newRow("2.5") << 2.5 << 3LL;
        QTest::newRow("-2.5") << -2.5 << -3LL;
        QTest::newRow("12.5") << 12.5 << 13LL;
        QTest::newRow("0.49") << 0.49 << 0LL;
    }
    void roundsHalfAwayFromZero()
    {
        QFETCH(double, value);
        QFETCH(qlonglong, rounded);
        QCOMPARE(RoundHalfAwayFromZero(value), rounded);
    }

    // A limit typed on the deviations page goes through this; it must not follow the locale.
    void textToDoubleAsCDoes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "1.25" << 1.25;
        QTest::newRow("blanks and plus") << "  +7.5" << 7.5;
        QTest::newRow("negative") << "-0.5" << -0.5;
        QTest::newRow("number prefix") << "1.5abc" << 1.5;
        QTest::newRow("comma ends the number") << "1,5" << 1.0;
        QTest::newRow("not a number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("two signs") << "--1" << 0.0;
        QTest::newRow("exponent") << "2e3" << 2000.0;
        QTest::newRow("hexadecimal") << "0x10" << 16.0;
        QTest::newRow("too small") << "1e-999" << 0.0;
        QTest::newRow("too large") << "-1e999" << -std::numeric_limits<double>::infinity();
    }
    void textToDoubleAsCDoes()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(CTextToDouble(text), value);
    }
};

QTEST_GUILESS_MAIN(CFormatTest)
#include "tst_cformat.moc"
