// The C formats of the pages give the C library's text whatever the locale, and halves round
// away from zero where the pages say so.
#include "common/CFormat.h"

#include <QTest>

#include <clocale>

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
};

QTEST_GUILESS_MAIN(CFormatTest)
#include "tst_cformat.moc"
