// The C formats of the pages give the C library's text whatever the locale, and halves round
// away from zero where the pages say so.
#include "common/CFormat.h"

#include <QTest>

#include <clocale>
#include <cmath>

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

    void readsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "220.000" << 220.0;
        QTest::newRow("padded") << "  5773.500" << 5773.5;
        QTest::newRow("signed") << "-0.00" << -0.0;
        QTest::newRow("plus") << "+10.00" << 10.0;
        QTest::newRow("trailing text") << "12.5 V" << 12.5;
        QTest::newRow("no leading digit") << ".5" << 0.5;
        QTest::newRow("point at end") << "7." << 7.0;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("exponent without digits") << "5e" << 5.0;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("infinity is no number") << "inf" << 0.0;
        QTest::newRow("hexadecimal is no number") << "0x10" << 0.0;
        QTest::newRow("out of range") << "1e999" << 0.0;
    }
    void readsTheLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        const double read = ReadCNumber(text);
        QCOMPARE(read, value);
        QCOMPARE(std::signbit(read), std::signbit(value));
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
};

QTEST_GUILESS_MAIN(CFormatTest)
#include "tst_cformat.moc"
