// The settings file: defaults on a first start, the round trip of every key, the maxima
// and the non-numeric values.
#include "device/ActivePage.h"
#include "shell/AppSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartGivesEveryDefault();
    void roundTripKeepsEveryKey();
    void emptyValuesAreWrittenAndReadBackEmpty();
    void longValuesAreCutToTheirMaximum_data();
    void longValuesAreCutToTheirMaximum();
    void leadingNumber_data();
    void leadingNumber();
    void fileLivesUnderVendorFolder();

private:
    QTemporaryDir m_dir;
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
};

void SettingsTest::firstStartGivesEveryDefault()
{
    const AppSettings s = ReadSettings(Path("missing/none.ini"));
    QCOMPARE(s.number, QStringLiteral("1"));
    QCOMPARE(s.type, QStringLiteral("0"));
    QCOMPARE(s.telephone, QString());
    QCOMPARE(s.telephoneInit, QString());
    QCOMPARE(s.comName, QStringLiteral("COM1"));
    QCOMPARE(s.comBaud, QStringLiteral("115200"));
    QCOMPARE(s.ethernetName, QString());
    QCOMPARE(s.ethernetPort, QString());
    QCOMPARE(s.ethernetTimeout, QStringLiteral("10"));
    QCOMPARE(s.termName, QStringLiteral("COM1"));
    QCOMPARE(s.termBaud, QStringLiteral("115200"));
    QCOMPARE(ReadSavedPortName(Path("missing/none.ini"), QStringLiteral("TERM")), QStringLiteral("COM1"));
}

void SettingsTest::roundTripKeepsEveryKey()
{
    AppSettings s;
    s.number = QStringLiteral("250");
    s.type = QStringLiteral("1");
    s.telephone = QStringLiteral("+7 812 000-00-00");
    s.telephoneInit = QStringLiteral("AT&F, E0");
    s.comName = QStringLiteral("ttyUSB0");
    s.comBaud = QStringLiteral("9600");
    s.ethernetName = QStringLiteral("192.168.0.7");
    s.ethernetPort = QStringLiteral("5555");
    s.ethernetTimeout = QStringLiteral("3");
    s.termName = QStringLiteral("ttyS1");
    s.termBaud = QStringLiteral("57600");
    // The folders do not exist yet: writing creates them.
    const QString path = Path("VX/Ладограф/Ладограф.ini");
    WriteSettings(path, s);
    QCOMPARE(ReadSettings(path), s);
    QCOMPARE(ReadSavedPortName(path, QStringLiteral("COM")), QStringLiteral("ttyUSB0"));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* section : {"[SETTING]", "[COM]", "[Ethernet]", "[TERM]"})
        QVERIFY2(text.contains(section), section);
    QVERIFY(text.contains("Telephon="));
    QVERIFY(text.contains("TelephonString="));
}

void SettingsTest::emptyValuesAreWrittenAndReadBackEmpty()
{
    AppSettings s;
    s.ethernetTimeout.clear();
    const QString path = Path("empty.ini");
    WriteSettings(path, s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("\nName=\n") || text.contains("\nName=\r\n"));
    // A present but empty key is empty, not the default.
    QCOMPARE(ReadSettings(path).ethernetTimeout, QString());
}

void SettingsTest::longValuesAreCutToTheirMaximum_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("maximum");
    QTest::newRow("number") << "SETTING/Number" << 9;
    QTest::newRow("telephone") << "SETTING/Telephon" << 99;
    QTest::newRow("init string") << "SETTING/TelephonString" << 99;
    QTest::newRow("port") << "COM/Name" << 9;
    QTest::newRow("host") << "Ethernet/Name" << 19;
    QTest::newRow("timeout") << "Ethernet/Timeout" << 19;
    QTest::newRow("terminal baud") << "TERM/Baud" << 9;
}

void SettingsTest::longValuesAreCutToTheirMaximum()
{
    QFETCH(QString, key);
    QFETCH(int, maximum);
    const QString path = Path("long.ini");
    QFile::remove(path);
    const QString longText = QString(maximum, QLatin1Char('7')) + QStringLiteral("89");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QStringList parts = key.split(QLatin1Char('/'));
        file.write(("[" + parts[0] + "]\n" + parts[1] + "=" + longText + "\n").toUtf8());
    }
    const AppSettings s = ReadSettings(path);
    const QString values[] = {s.number, s.telephone, s.telephoneInit, s.comName, s.ethernetName,
                              s.ethernetTimeout, s.termBaud};
    const QString expected(maximum, QLatin1Char('7'));
    QVERIFY(std::find(std::begin(values), std::end(values), expected) != std::end(values));
}

void SettingsTest::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "65535" << 65535;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("not a number") << "abc" << 0;
    QTest::newRow("digits then text") << "12ab" << 12;
    QTest::newRow("huge saturates") << "99999999999999999999" << INT_MAX;
}

void SettingsTest::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(LeadingNumber(text), value);
}

void SettingsTest::fileLivesUnderVendorFolder()
{
    QVERIFY(SettingsFilePath().endsWith(QStringLiteral("/VX/Ладограф/Ладограф.ini")));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
